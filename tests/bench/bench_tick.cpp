// Measures what one tick of the meter costs against the two bare interface
// table lookups a tick used to make.
//   bench_tick rows            the interface table as the meter sees it
//   bench_tick lookups <n>     n times two GetIfTable lookups (size query + read)
//   bench_tick ticks <n>       n ticks of the meter: sample, accounting, price,
//                              totals saved, the twelve label texts
//   bench_tick graphticks <n>  the same, and the speed graph of a minute painted
//                              into a box the size of the Graph skin's
//   bench_tick routerticks <n> n ticks with the router as interface 1: an answer
//                              waiting every tick, as the poller leaves it
// Prints "<mode> <n> <thread cpu microseconds> <wall microseconds>".
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "common/encoding.h"
#include "common/win/iftable.h"
#include "common/win/registry.h"
#include "common/win/speed_graph.h"
#include "meter/app/meter.h"
#include "meter/app/meter_desktop.h"
#include "meter/traffic/display.h"

using namespace vtc;

namespace {

double ThreadCpuMicros() {
  FILETIME c, e, k, u;
  GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
  auto v = [](FILETIME f) { return (static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return (v(k) + v(u)) / 10.0;
}

double WallMicros() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

// What a lookup of the old tick could not avoid: ask for the size, read the table.
void BareLookup() {
  ULONG size = 0;
  GetIfTable(nullptr, &size, FALSE);
  std::unique_ptr<unsigned char[]> buf(new unsigned char[size]);
  GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buf.get()), &size, FALSE);
}

// The meter's start-up without files, skin or network: interface 1 is the
// loopback row by type, interface 2 the last row by description, and one
// tariff prices the traffic.
MeterOptions BenchOptions(std::string secondInterface) {
  MeterOptions o;
  o.interfaceType = 24;
  o.secondInterfaceName = std::move(secondInterface);
  o.showBalloons = false;
  return o;
}

class BenchServices : public StartupServices {
 public:
  void StartUpdateCheck(const std::string&, const std::string&) override {}
  void RollStatistics(const std::string&, int, int, const LocalTime&) override {}
  std::vector<TTariff> LoadTariffs(const std::string&) override {
    TTariff t;
    t.name = "bench";
    t.endHhmm = 2359;
    t.pricePerByteIn = t.pricePerByteOut = 1e-6;
    for (bool& d : t.days) d = true;
    return {t};
  }
  void WriteErrorReport(const std::string&, const std::string&) override {}
};

// The poller's side of router mode: an answer with rising 64-bit counters
// waits at every tick (the asking itself is done on the poller's thread).
class BenchRouter : public RouterCounters {
 public:
  std::optional<RouterReading> TakeAnswer() override {
    in_ += 1500000;
    RouterReading r;
    r.id = RouterIdentity{"198.18.0.1", 2, RouterProtocol::kSnmpV2c, true};
    r.up = true;
    r.in = in_;
    r.out = in_ / 8;
    r.atMs = GetTickCount64();
    r.uptime = r.linkUp = static_cast<double>(r.atMs) / 1000;
    r.wan = "wan0";
    return r;
  }
  std::string RouterName() override { return "198.18.0.1"; }

 private:
  uint64_t in_ = 5000000000ull;
};

// A shown window with every label visible: all twelve texts are made.
class BenchView : public MeterView {
 public:
  void StartTariffTimer() override {}
  void ScheduleTick(uint64_t) override {}
  bool ShowBalloon(const Notice&) override { return true; }
  void SetTrayOnline(bool) override {}
  void ShowFloat(bool) override {}
  void ShowFigures(const MeterState& s, const TickDeltas& d) override {
    texts.clear();
    for (int l = 1; l <= kLabelCount; ++l) texts += LabelText(l, s, "", d.dIn, d.dOut);
    // What the floating window's paint adds on a tick, into a DC of the screen's format.
    if (graphDc) graph.Paint(graphDc, meter->history());
  }
  std::string texts;
  const Meter* meter = nullptr;
  HDC graphDc = nullptr;  // borrowed
  SpeedGraph graph;
};

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string mode = argc > 1 ? WideToUtf8(argv[1]) : "rows";
  long n = argc > 2 ? _wtol(argv[2]) : 0;
  SystemInterfaceTable table;
  std::vector<IfRow> rows;
  IfTableRead read = table.Read(rows);
  if (mode == "rows") {
    for (const IfRow& r : rows)
      printf("%s\t%u\t%u\t%u\t%u\t%u\t%u\n", Cp1251ToUtf8(TrimDescription(r.description)).c_str(), r.index, r.type,
             r.mtu, r.speed, r.inOctets, r.outOctets);
    if (read != IfTableRead::kOk) printf("the table could not be read\n");
    return 0;
  }
  ScopedRegistryRedirect redirect("SOFTWARE\\vtc-bench-" + std::to_string(GetCurrentProcessId()) + "\\");
  SystemClock clock;
  RegistryTotals totals;
  BenchServices services;
  BenchView view;
  Meter meter(table, clock, totals, services, view);
  BenchRouter router;
  if (mode == "routerticks") meter.UseRouter(&router);
  meter.StartCounting("C:\\bench\\", BenchOptions(rows.empty() ? "" : TrimDescription(rows.back().description)));
  double cpu0 = ThreadCpuMicros(), wall0 = WallMicros();
  if (mode == "lookups") {
    for (long i = 0; i < n; ++i) {
      BareLookup();
      BareLookup();
    }
  } else if (mode == "ticks" || mode == "routerticks") {
    for (long i = 0; i < n; ++i) meter.Tick();
  } else if (mode == "graphticks") {
    GraphLook look;  // the Graph skin's
    look.visible = true;
    look.left = 8, look.top = 78, look.width = 324, look.height = 36;
    look.in = RGB(94, 226, 122), look.out = RGB(255, 171, 74), look.back = RGB(16, 22, 29);
    view.graph.SetLook(look);
    ClientDC screen(nullptr);
    MemoryDC dc(screen.get());
    Bitmap window(CreateCompatibleBitmap(screen.get(), 340, 124));
    SelectGuard sel(dc.get(), window.get());
    view.meter = &meter;
    view.graphDc = dc.get();
    for (long i = 0; i < n; ++i) meter.Tick();
    view.graphDc = nullptr;
  } else {
    return 2;
  }
  double cpu = ThreadCpuMicros() - cpu0, wall = WallMicros() - wall0;
  redirect.DeleteTree();
  printf("%s %ld %.0f %.0f\n", mode.c_str(), n, cpu, wall);
  return 0;
}
