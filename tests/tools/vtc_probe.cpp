// Test helper: looks at the running programs the way another process on the
// user's machine would and prints what it finds, one item per line (UTF-8).
//   vtc_probe texts "<window title>"        child window texts of a top-level window
//   vtc_probe find "<window title>"         prints 1 if a visible top-level window has that title
//   vtc_probe rect "<window title>"         left top right bottom of the window
//   vtc_probe reg-get <path> <name>         registry value (as the programs read it; HKLM, else HKCU)
//   vtc_probe reg-set-sz <path> <name> <v>  / reg-set-dword <path> <name> <n> / reg-del <path> <name>
//   vtc_probe post "<title>" <msg> <wparam> <lparam>
//   vtc_probe tooltips                      texts of the visible tooltip windows, balloons included
//   vtc_probe child-command "<title>" <n> <code>   the n-th child tells its parent `code` (WM_COMMAND,
//                                          posted), as a click or a pick by the user would
//   vtc_probe child-items "<title>" <n>     entries of the n-th child (list box or combo box)
//   vtc_probe msgbox "<title>" [ok|gone]    texts of a visible message box with that title; "ok" presses
//                                          OK; "gone" exits 0 once no such box exists, hidden or not
//   vtc_probe iftable                       type, speed, in, out octets and description of every interface row
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>

#include <cstdio>
#include <vector>
#include <string>

#include "common/encoding.h"
#include "common/registry.h"
#include "common/ui.h"

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

BOOL CALLBACK CollectDescendant(HWND h, LPARAM lp) {
  reinterpret_cast<std::vector<HWND>*>(lp)->push_back(h);
  return TRUE;
}

// The n-th child in the order `texts` prints them.
HWND ChildAt(HWND top, const std::string& n) {
  std::vector<HWND> all;
  EnumChildWindows(top, CollectDescendant, reinterpret_cast<LPARAM>(&all));
  size_t i = std::stoul(n);
  return i < all.size() ? all[i] : nullptr;
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
  HWND c = top ? ChildAt(top, arg(3)) : nullptr;
  if (!c) return 1;
  if (cmd == "child-command") {
    WPARAM wp = MAKEWPARAM(GetDlgCtrlID(c), std::stoul(arg(4), nullptr, 0));
    PostMessageW(GetParent(c), WM_COMMAND, wp, reinterpret_cast<LPARAM>(c));
    return 0;
  }
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

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  std::string cmd = WideToUtf8(argv[1]);
  auto arg = [&](int i) { return i < argc ? WideToUtf8(argv[i]) : std::string(); };
  if (cmd == "child-command" || cmd == "child-items" || cmd == "msgbox") return ChildCommand(argc, argv);
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
  if (cmd == "texts" || cmd == "find" || cmd == "rect" || cmd == "post") {
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
  if (cmd == "reg-set-sz") return key.SetString(arg(3), arg(4)) ? 0 : 1;
  if (cmd == "reg-set-dword") return key.SetDword(arg(3), static_cast<uint32_t>(std::stoul(arg(4)))) ? 0 : 1;
  if (cmd == "reg-del") return key.DeleteValue(arg(3)) ? 0 : 1;
  return 2;
}
