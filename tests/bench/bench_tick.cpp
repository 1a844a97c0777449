// Measures what one tick of the meter costs against the two bare interface
// table reads it cannot do without.
//   bench_tick rows            the interface table as the meter sees it
//   bench_tick lookups <n>     n times two GetIfTable lookups (size query + read)
//   bench_tick ticks <n>       n ticks: sample, accounting, label texts, totals saved
// Prints "<mode> <n> <thread cpu microseconds> <wall microseconds>".
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <memory>
#include <string>

#include "common/encoding.h"
#include "common/win/registry.h"
#include "meter/traffic/display.h"
#include "meter/traffic/iftable.h"
#include "meter/traffic/sampling.h"
#include "meter/traffic/totals.h"
#include "meter/tariff/tariffs.h"

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

// What a lookup cannot avoid: ask for the size, read the table.
void BareLookup() {
  ULONG size = 0;
  GetIfTable(nullptr, &size, FALSE);
  std::unique_ptr<unsigned char[]> buf(new unsigned char[size]);
  GetIfTable(reinterpret_cast<MIB_IFTABLE*>(buf.get()), &size, FALSE);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::string mode = argc > 1 ? WideToUtf8(argv[1]) : "rows";
  long n = argc > 2 ? _wtol(argv[2]) : 0;
  SystemInterfaceTable table;
  std::vector<IfRow> rows;
  std::string err;
  table.FindInterface(rows, "\x01", err, -1);  // matches nothing: the whole table
  if (mode == "rows") {
    for (const IfRow& r : rows)
      printf("%s\t%u\t%u\t%u\t%u\t%u\n", Cp1251ToUtf8(TrimDescription(r.description)).c_str(), r.type, r.mtu,
             r.speed, r.inOctets, r.outOctets);
    printf("%s", Cp1251ToUtf8(err).c_str());
    return 0;
  }
  // Interface 1 is the loopback row by type; interface 2 the last row by
  // description, so the second lookup walks the whole table.
  std::string name2 = rows.empty() ? "" : TrimDescription(rows.back().description);
  ScopedRegistryRedirect redirect("SOFTWARE\\vtc-bench-" + std::to_string(GetCurrentProcessId()) + "\\");
  MeterState st;
  SumParts parts;
  std::vector<TTariff> tariffs;
  double cpu0 = ThreadCpuMicros(), wall0 = WallMicros();
  if (mode == "lookups") {
    for (long i = 0; i < n; ++i) {
      BareLookup();
      BareLookup();
    }
  } else if (mode == "ticks") {
    for (long i = 0; i < n; ++i) {
      std::string tickErr;
      TickSample s = TakeSample(table, "", name2, 24, tickErr);
      if (s.online) {
        TickDeltas d = AccountOnlineTick(st, s, 1.0, parts);
        AddTickMoney(st, PriceTick(d.dIn, d.dOut, st.totalIn, st.totalOut, tariffs, st.activeTariff));
        std::string texts;
        for (int l = 1; l <= kLabelCount; ++l) texts += LabelText(l, st, d.dIn, d.dOut);
      } else {
        AccountOfflineTick(st, parts);
      }
      SaveTotals(st);
    }
  } else {
    return 2;
  }
  double cpu = ThreadCpuMicros() - cpu0, wall = WallMicros() - wall0;
  redirect.DeleteTree();
  printf("%s %ld %.0f %.0f\n", mode.c_str(), n, cpu, wall);
  return 0;
}
