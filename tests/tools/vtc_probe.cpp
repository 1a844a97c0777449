// Test helper: looks at the running programs the way another process on the
// user's machine would and prints what it finds, one item per line (UTF-8).
//   vtc_probe texts "<window title>"        child window texts of a top-level window
//   vtc_probe find "<window title>"         prints 1 if a visible top-level window has that title
//   vtc_probe rect "<window title>"         left top right bottom of the window
//   vtc_probe reg-get <path> <name>         registry value (as the programs read it; HKLM, else HKCU)
//   vtc_probe reg-set-sz <path> <name> <v>  / reg-set-dword <path> <name> <n> / reg-del <path> <name>
//   vtc_probe reg-get-path <path> <name>    a string value stored in UTF-16 as it is (a program path)
//   vtc_probe password-get                  the exit password as both programs read it
//   vtc_probe password-set "<text>"         stores the exit password as the settings program does
//   vtc_probe record-text <name> <in> <out> <money> <currency>   a record of statistic.ini as the
//                                          statistics window shows it (no line break added)
//   vtc_probe run "<command line>"          starts a command line as the shell starts an autorun entry
//   vtc_probe post "<title>" <msg> <wparam> <lparam>
//   vtc_probe send "<title>" <msg> <wparam> <lparam>   sent: prints the result once handled (exit 3: no answer)
//   vtc_probe menu-shown                    prints 1 while a popup menu is open on the screen, else 0
//   vtc_probe gui-flags "<title>"           GUI_* flags of the window's thread (2: moving or sizing a window)
//   A child is named by its place <n> in the order of `texts`, or by its control ID as "#<id>"
//   (the first one with that ID, however deeply nested).
//   vtc_probe child-text "<title>" <child> "<text>"   WM_SETTEXT to the child
//   vtc_probe child-post "<title>" <child> <msg> <wparam> <lparam>   PostMessage to the child
//   vtc_probe child-send "<title>" <child> <msg> <wparam> <lparam>   SendMessage to the child; prints
//                                          the result once the child has handled it (exit 3: no answer)
//   vtc_probe child-command "<title>" <child> <code>   the child tells its parent `code` (WM_COMMAND,
//                                          posted), as a click or a pick by the user would
//   vtc_probe child-notify "<title>" <child> <code>    the same, sent: returns once the parent has
//                                          handled it (exit 3 when it does not answer, e.g. a message box)
//   vtc_probe child-items "<title>" <child>     entries of the child (list box or combo box)
//   vtc_probe msgbox "<title>" [ok|gone]    texts of a visible message box with that title; "ok" presses
//                                          OK; "gone" exits 0 once no such box exists, hidden or not
//   vtc_probe proc "<title>"                pid, handles, gdi, user objects and private bytes of its process
//   vtc_probe msg-id <name>                 number of a registered window message (e.g. TaskbarCreated)
//   vtc_probe reg-deny <path>               HKEY_LOCAL_MACHINE\\<path> refuses writes from now on
//   vtc_probe tray-drop "<title>" <id>      removes the tray icon <id> of that window, as a dying taskbar does
//   vtc_probe broadcast <name>              posts the registered message <name> to every top-level window
//   vtc_probe tooltips                      texts of the visible tooltip windows, balloons included
//   vtc_probe iftable                       type, speed, in, out octets and description of every interface row
//   vtc_probe snmp-walk <ip>[:port] <community> <1|2c>   index, up, in, out, 64|32 and description of every
//                                          row of the agent's ifTable (exit 3: no answer)
//   vtc_probe snmp-get <ip>[:port] <community> <1|2c> <oid>   error status, then type and value per varbind
//   vtc_probe upnp-read [router [control URL]]  the gateway found (SSDP when no router is given) and one
//                                          reading: status, received, sent ("-" when none came), took (ms)
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <shellapi.h>

#include <chrono>
#include <cstdio>
#include <vector>
#include <string>

#include "common/encoding.h"
#include "common/win/password.h"
#include "common/win/registry.h"
#include "common/win/ui.h"
#include "meter/stats/history.h"
#include "router/win/snmp_client.h"
#ifdef VTC_HAVE_UPNP
#include "router/win/upnp_client.h"
#endif

using namespace vtc;

namespace {

void Out(const std::string& s) {
  fwrite(s.data(), 1, s.size(), stdout);
  fputc('\n', stdout);
}

BOOL CALLBACK PrintChild(HWND h, LPARAM) {
  wchar_t cls[64] = {};
  GetClassNameW(h, cls, 64);
  std::string text;
  int n = static_cast<int>(SendMessageW(h, WM_GETTEXTLENGTH, 0, 0));
  if (n > 0) {
    std::wstring w(static_cast<size_t>(n) + 1, L'\0');
    SendMessageW(h, WM_GETTEXT, n + 1, reinterpret_cast<LPARAM>(&w[0]));
    w.resize(wcslen(w.c_str()));
    text = WideToUtf8(w);
  }
  RECT r{};
  GetWindowRect(h, &r);
  char buf[200];
  snprintf(buf, sizeof buf, "%d\t%ld,%ld,%ld,%ld\t%d\t", GetDlgCtrlID(h), r.left, r.top, r.right - r.left,
           r.bottom - r.top, IsWindowVisible(h) ? 1 : 0);
  Out(std::string(buf) + WideToUtf8(cls) + "\t" + text);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

// The n-th child in the order `texts` prints them, or with "#<id>" the first
// one with that control ID.
HWND NthChild(HWND top, const std::string& n) {
  std::vector<HWND> all;
  EnumChildWindows(top, CollectChild, reinterpret_cast<LPARAM>(&all));
  if (!n.empty() && n[0] == '#') {
    int id = std::stoi(n.substr(1));
    for (HWND h : all)
      if (GetDlgCtrlID(h) == id) return h;
    return nullptr;
  }
  size_t i = std::stoul(n);
  return i < all.size() ? all[i] : nullptr;
}

// A message sent and answered, so that whatever it does has been done when
// the probe ends. A handler that opens a modal box answers only when the box
// closes: that is reported as no answer (exit 3), the message stays delivered.
int SendAndPrint(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(h, msg, wp, lp, SMTO_NORMAL, 10000, &result)) return 3;
  Out(std::to_string(static_cast<long long>(result)));
  return 0;
}

// A top-level window by title: a message box (class #32770) or anything else.
// The settings program's boxes share its main window's title.
struct TopSearch {
  std::wstring title;
  bool dialog;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchTop(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<TopSearch*>(lp);
  wchar_t cls[64] = {}, title[512] = {};
  GetClassNameW(h, cls, 64);
  GetWindowTextW(h, title, 512);
  bool isDialog = wcscmp(cls, L"#32770") == 0;
  if (s->title == title && isDialog == s->dialog && (!s->visibleOnly || IsWindowVisible(h))) {
    s->found = h;
    return FALSE;
  }
  return TRUE;
}

HWND FindTop(const std::string& title, bool dialog, bool visibleOnly) {
  TopSearch s{Utf8ToWide(title), dialog, visibleOnly, nullptr};
  EnumWindows(MatchTop, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

int ChildCommand(int argc, wchar_t** argv) {
  auto arg = [&](int i) { return i < argc ? WideToUtf8(argv[i]) : std::string(); };
  std::string cmd = arg(1);
  if (cmd == "msgbox") {
    // A closed box may linger hidden for a moment; "gone" waits for its end.
    if (arg(3) == "gone") return FindTop(arg(2), true, false) ? 1 : 0;
    HWND box = FindTop(arg(2), true, true);
    if (!box) return 1;
    if (arg(3) == "ok") {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      return 0;
    }
    EnumChildWindows(box, PrintChild, 0);
    return 0;
  }
  HWND top = FindTop(arg(2), false, false);
  HWND c = top ? NthChild(top, arg(3)) : nullptr;
  if (!c) return 1;
  if (cmd == "child-command" || cmd == "child-notify") {
    WPARAM wp = MAKEWPARAM(GetDlgCtrlID(c), std::stoul(arg(4), nullptr, 0));
    if (cmd == "child-notify") return SendAndPrint(GetParent(c), WM_COMMAND, wp, reinterpret_cast<LPARAM>(c));
    PostMessageW(GetParent(c), WM_COMMAND, wp, reinterpret_cast<LPARAM>(c));
    return 0;
  }
  if (cmd == "child-send")
    return SendAndPrint(c, static_cast<UINT>(std::stoul(arg(4), nullptr, 0)), std::stoull(arg(5), nullptr, 0),
                        static_cast<LPARAM>(std::stoll(arg(6), nullptr, 0)));
  wchar_t cls[64] = {};
  GetClassNameW(c, cls, 64);
  bool list = lstrcmpiW(cls, L"LISTBOX") == 0;
  int n = static_cast<int>(SendMessageW(c, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    int len = static_cast<int>(SendMessageW(c, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, i, 0));
    std::wstring w(static_cast<size_t>(len > 0 ? len : 0) + 1, L'\0');
    SendMessageW(c, list ? LB_GETTEXT : CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&w[0]));
    w.resize(wcslen(w.c_str()));
    Out(WideToUtf8(w));
  }
  return 0;
}


// ---- What a long run watches: the meter's handles, GDI and USER objects and
// private memory. GetGuiResources, GetProcessHandleCount and the private-usage
// counter answer 0 under Wine, so each has a second way that works there too.

struct HandleEntry {
  ULONG pid;
  UCHAR type;
  UCHAR flags;
  USHORT handle;
  PVOID object;
  ACCESS_MASK access;
};
struct HandleTable {
  ULONG count;
  HandleEntry entries[1];
};

size_t CountHandles(HANDLE process, DWORD pid) {
  DWORD n = 0;
  if (GetProcessHandleCount(process, &n) && n) return n;
  using Query = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
  if (!query) return 0;
  std::vector<char> buf(1 << 20);
  for (;;) {
    ULONG got = 0;
    LONG st = query(16 /* SystemHandleInformation */, buf.data(), static_cast<ULONG>(buf.size()), &got);
    if (st == static_cast<LONG>(0xC0000004) && buf.size() < (256u << 20)) {
      buf.resize(buf.size() * 2);
      continue;
    }
    if (st != 0) return 0;
    break;
  }
  const auto* t = reinterpret_cast<const HandleTable*>(buf.data());
  size_t mine = 0;
  for (ULONG i = 0; i < t->count; ++i)
    if (t->entries[i].pid == pid) ++mine;
  return mine;
}

// The process's own GDI handle table (PEB field GdiSharedHandleTable, 24-byte
// entries; the stock objects carry flag 0x80 in the unique word).
size_t CountGdiObjects(HANDLE process) {
  DWORD n = GetGuiResources(process, GR_GDIOBJECTS);
  if (n) return n;
  using Query = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  if (!query) return 0;
  PVOID basic[6] = {};  // PROCESS_BASIC_INFORMATION: PebBaseAddress is the second field
  if (query(process, 0, basic, sizeof basic, nullptr) != 0 || !basic[1]) return 0;
  PVOID table = nullptr;
  SIZE_T got = 0;
  if (!ReadProcessMemory(process, static_cast<char*>(basic[1]) + 0xF8, &table, sizeof table, &got) || !table)
    return 0;
  const size_t kEntries = 0x10000, kEntrySize = 24;
  std::vector<unsigned char> t(kEntries * kEntrySize);
  if (!ReadProcessMemory(process, table, t.data(), t.size(), &got)) return 0;
  size_t count = 0;
  for (size_t i = 0; i < kEntries; ++i) {
    const unsigned char* e = &t[i * kEntrySize];
    unsigned short unique = static_cast<unsigned short>(e[12] | (e[13] << 8));
    if (e[14] != 0 && !(unique & 0x80)) ++count;
  }
  return count;
}

struct WindowCount {
  DWORD pid;
  size_t n;
};

BOOL CALLBACK CountChild(HWND, LPARAM lp) {
  ++reinterpret_cast<WindowCount*>(lp)->n;
  return TRUE;
}

BOOL CALLBACK CountTop(HWND h, LPARAM lp) {
  auto* c = reinterpret_cast<WindowCount*>(lp);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == c->pid) {
    ++c->n;
    EnumChildWindows(h, CountChild, lp);
  }
  return TRUE;
}

// USER objects; where the platform does not count them, the windows.
size_t CountUserObjects(HANDLE process, DWORD pid) {
  DWORD n = GetGuiResources(process, GR_USEROBJECTS);
  if (n) return n;
  WindowCount c{pid, 0};
  EnumWindows(CountTop, reinterpret_cast<LPARAM>(&c));
  return c.n;
}

// Committed private memory, region by region.
unsigned long long PrivateBytes(HANDLE process) {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION mbi;
  const char* at = nullptr;
  while (VirtualQueryEx(process, at, &mbi, sizeof mbi) == sizeof mbi) {
    if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE) total += mbi.RegionSize;
    const char* next = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return total;
}

int PrintProcessFigures(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE p = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  if (!p) return 1;
  Out("pid\t" + std::to_string(pid));
  Out("handles\t" + std::to_string(CountHandles(p, pid)));
  Out("gdi\t" + std::to_string(CountGdiObjects(p)));
  Out("user\t" + std::to_string(CountUserObjects(p, pid)));
  Out("private\t" + std::to_string(PrivateBytes(p)));
  CloseHandle(p);
  return 0;
}

// Takes write access to HKEY_LOCAL_MACHINE\<path> from everybody (reading
// stays allowed), as a standard user meets that key.
int DenyMachineKeyWrites(const std::string& path) {
  HKEY k = nullptr;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, Utf8ToCp1251(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k,
                      nullptr) != ERROR_SUCCESS)
    return 1;
  // D: deny Everyone (WD) set-value, create-subkey, delete, write-DAC; allow read.
  PSECURITY_DESCRIPTOR sd = nullptr;
  const wchar_t* sddl = L"D:P(D;;0x50006;;;WD)(A;;KR;;;WD)";
  using Convert = BOOL(WINAPI*)(LPCWSTR, DWORD, PSECURITY_DESCRIPTOR*, PULONG);
  auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(LoadLibraryW(L"advapi32.dll"), "ConvertStringSecurityDescriptorToSecurityDescriptorW")));
  bool ok = convert && convert(sddl, 1, &sd, nullptr) &&
            RegSetKeySecurity(k, DACL_SECURITY_INFORMATION, sd) == ERROR_SUCCESS;
  if (sd) LocalFree(sd);
  RegCloseKey(k);
  return ok ? 0 : 1;
}

SnmpAgent AgentOf(const std::string& where, const std::string& community) {
  SnmpAgent a;
  size_t colon = where.find(':');
  a.address = where.substr(0, colon);
  if (colon != std::string::npos) a.port = static_cast<uint16_t>(std::stoul(where.substr(colon + 1)));
  a.community = community;
  return a;
}

snmp::Version VersionOf(const std::string& text) { return text == "1" ? snmp::Version::kV1 : snmp::Version::kV2c; }

int SnmpWalk(const SnmpAgent& agent, snmp::Version version) {
  SnmpClient client(agent);
  client.SetDeadline(SnmpClient::Clock::now() + std::chrono::seconds(5));
  auto rows = snmp::WalkInterfaces(client, version);
  if (!rows) return 3;
  for (const snmp::InterfaceRow& r : *rows) {
    Out(std::to_string(r.index) + "\t" + (r.operUp ? "1" : "0") + "\t" + std::to_string(r.in) + "\t" +
        std::to_string(r.out) + "\t" + (r.is64bit ? "64" : "32") + "\t" + r.description);
  }
  return 0;
}

int SnmpGet(const SnmpAgent& agent, snmp::Version version, const std::string& oid) {
  auto name = snmp::ParseOid(oid);
  if (!name) return 2;
  SnmpClient client(agent);
  auto answer = client.Ask(version, snmp::PduType::kGetRequest, {*name});
  if (!answer) return 3;
  Out(std::to_string(answer->errorStatus));
  for (const snmp::VarBind& vb : answer->varbinds) {
    const snmp::Value& v = vb.value;
    std::string value = v.type == snmp::ValueType::kInteger ? std::to_string(v.integer)
                        : v.type == snmp::ValueType::kOid   ? snmp::OidText(v.oid)
                        : v.bytes.empty()                   ? std::to_string(v.number)
                                                            : v.bytes;
    Out(snmp::OidText(vb.name) + "\t" + std::to_string(static_cast<int>(v.type)) + "\t" + value);
  }
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::string cmd = WideToUtf8(argv[1]);
  auto arg = [&](int i) { return i < argc ? WideToUtf8(argv[i]) : std::string(); };
  if (cmd == "proc") {
    HWND w = FindWindowW(nullptr, Utf8ToWide(arg(2)).c_str());
    return w ? PrintProcessFigures(w) : 1;
  }
  if (cmd == "msg-id") {
    Out(std::to_string(RegisterWindowMessageW(Utf8ToWide(arg(2)).c_str())));
    return 0;
  }
  if (cmd == "reg-deny") return DenyMachineKeyWrites(arg(2));
  if (cmd == "password-get") {
    Out(ReadStoredPassword());
    return 0;
  }
  if (cmd == "password-set") return StorePassword(arg(2)) ? 0 : 1;
  if (cmd == "record-text") {
    const std::string text = RecordText(arg(2), arg(3), arg(4), arg(5), arg(6));
    fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
#ifdef VTC_HAVE_UPNP
  if (cmd == "upnp-read") {
    auto router = FindUpnpRouter(arg(2), arg(3));
    if (!router) return 1;
    ULONGLONG started = GetTickCount64();
    std::optional<RouterReading> r = ReadUpnpRouter(*router);
    ULONGLONG took = GetTickCount64() - started;
    auto num = [&r](uint64_t RouterReading::*v) { return r ? std::to_string((*r).*v) : std::string("-"); };
    Out("router\t" + router->descriptionUrl);
    Out("name\t" + router->friendlyName);
    Out("connection\t" + router->connectionUrl);
    Out("status\t" + std::string(!r ? "-" : r->up ? "Connected" : "not connected"));
    Out("received\t" + num(&RouterReading::in));
    Out("sent\t" + num(&RouterReading::out));
    Out("took\t" + std::to_string(took));
    return 0;
  }
#endif
  if (cmd == "run") {
    std::wstring line = argc > 2 ? argv[2] : L"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    // No program name apart: the system splits the line itself, as it does
    // for an autorun entry.
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 1;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return 0;
  }
  if (cmd == "tray-drop") {
    // What a taskbar that went away leaves: the icon of <title>'s window is gone.
    NOTIFYICONDATAW d = {};
    d.cbSize = sizeof d;
    d.hWnd = FindWindowW(nullptr, Utf8ToWide(arg(2)).c_str());
    d.uID = static_cast<UINT>(std::stoul(arg(3)));
    return d.hWnd && Shell_NotifyIconW(NIM_DELETE, &d) ? 0 : 1;
  }
  if (cmd == "broadcast") {
    UINT msg = RegisterWindowMessageW(Utf8ToWide(arg(2)).c_str());
    return msg && PostMessageW(HWND_BROADCAST, msg, 0, 0) ? 0 : 1;
  }
  if (cmd == "tooltips") {
    // The notification area draws its balloons as tooltip windows; their
    // window text is the balloon's text (the title is not readable this way).
    EnumWindows(
        [](HWND h, LPARAM) -> BOOL {
          wchar_t cls[64] = {};
          GetClassNameW(h, cls, 64);
          if (IsWindowVisible(h) && lstrcmpiW(cls, L"tooltips_class32") == 0) {
            wchar_t text[1024] = {};
            SendMessageW(h, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
            Out(WideToUtf8(text));
          }
          return TRUE;
        },
        0);
    return 0;
  }
  if (cmd == "snmp-walk") return SnmpWalk(AgentOf(arg(2), arg(3)), VersionOf(arg(4)));
  if (cmd == "snmp-get") return SnmpGet(AgentOf(arg(2), arg(3)), VersionOf(arg(4)), arg(5));
  if (cmd == "iftable") {
    ULONG size = 0;
    if (GetIfTable(nullptr, &size, FALSE) != ERROR_INSUFFICIENT_BUFFER) return 1;
    std::vector<unsigned char> buf(size);
    auto* table = reinterpret_cast<MIB_IFTABLE*>(buf.data());
    if (GetIfTable(table, &size, FALSE) != NO_ERROR) return 1;
    for (DWORD i = 0; i < table->dwNumEntries; ++i) {
      const MIB_IFROW& r = table->table[i];
      std::string descr(reinterpret_cast<const char*>(r.bDescr), strnlen(reinterpret_cast<const char*>(r.bDescr), r.dwDescrLen));
      char line[200];
      snprintf(line, sizeof line, "%lu\t%lu\t%lu\t%lu\t", r.dwType, r.dwSpeed, r.dwInOctets, r.dwOutOctets);
      Out(line + Cp1251ToUtf8(descr));
    }
    return 0;
  }
  if (cmd == "menu-shown") {
    // Menus are top-level windows of their own class while they are open.
    HWND menu = nullptr;
    while ((menu = FindWindowExW(nullptr, menu, L"#32768", nullptr)) != nullptr && !IsWindowVisible(menu)) {
    }
    Out(menu ? "1" : "0");
    return 0;
  }
  if (cmd == "child-command" || cmd == "child-notify" || cmd == "child-send" || cmd == "child-items" ||
      cmd == "msgbox")
    return ChildCommand(argc, argv);
  if (cmd == "child-text" || cmd == "child-post") {
    HWND w = FindWindowW(nullptr, Utf8ToWide(arg(2)).c_str());
    HWND c = w ? NthChild(w, arg(3)) : nullptr;
    if (!c) return 1;
    if (cmd == "child-text") {
      std::wstring t = Utf8ToWide(arg(4));
      SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.c_str()));
    } else {
      PostMessageW(c, static_cast<UINT>(std::stoul(arg(4), nullptr, 0)), std::stoull(arg(5), nullptr, 0),
                   static_cast<LPARAM>(std::stoll(arg(6), nullptr, 0)));
    }
    return 0;
  }
  if (cmd == "gui-flags") {
    HWND w = FindWindowW(nullptr, Utf8ToWide(arg(2)).c_str());
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!w || !GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return 1;
    Out(std::to_string(info.flags));
    return 0;
  }
  if (cmd == "texts" || cmd == "find" || cmd == "rect" || cmd == "post" || cmd == "send") {
    HWND w = FindWindowW(nullptr, Utf8ToWide(arg(2)).c_str());
    if (!w) return 1;
    if (cmd == "find") Out(IsWindowVisible(w) ? "1" : "0");
    if (cmd == "texts") EnumChildWindows(w, PrintChild, 0);
    if (cmd == "rect") {
      RECT r{};
      GetWindowRect(w, &r);
      char buf[100];
      snprintf(buf, sizeof buf, "%ld %ld %ld %ld", r.left, r.top, r.right, r.bottom);
      Out(buf);
    }
    if (cmd == "post")
      PostMessageW(w, static_cast<UINT>(std::stoul(arg(3), nullptr, 0)), std::stoull(arg(4), nullptr, 0),
                   static_cast<LPARAM>(std::stoll(arg(5), nullptr, 0)));
    if (cmd == "send")
      return SendAndPrint(w, static_cast<UINT>(std::stoul(arg(3), nullptr, 0)), std::stoull(arg(4), nullptr, 0),
                          static_cast<LPARAM>(std::stoll(arg(5), nullptr, 0)));
    return 0;
  }
  RegKey key = RegKey::Open(arg(2));
  if (!key.ok()) return 1;
  if (cmd == "reg-get") {
    if (auto s = key.GetString(arg(3))) {
      Out("REG_SZ\t" + *s);
    } else if (auto d = key.GetDword(arg(3))) {
      Out("REG_DWORD\t" + std::to_string(*d));
    } else {
      return 1;
    }
    return 0;
  }
  if (cmd == "reg-get-path") {
    auto s = key.GetPath(arg(3));
    if (!s) return 1;
    Out(*s);
    return 0;
  }
  if (cmd == "reg-set-sz") return key.SetString(arg(3), arg(4)) ? 0 : 1;
  if (cmd == "reg-set-dword") return key.SetDword(arg(3), static_cast<uint32_t>(std::stoul(arg(4)))) ? 0 : 1;
  if (cmd == "reg-del") return key.DeleteValue(arg(3)) ? 0 : 1;
  return 2;
}
