#include "meter/stats/statistics_window.h"

#include <richedit.h>

#include "common/encoding.h"
#include "common/win/ini.h"
#include "common/win/ui.h"
#include "common/win/window.h"
#include "meter/stats/history.h"
#include "meter/stats/history_file.h"

namespace vtc {
namespace {

const wchar_t kClassName[] = L"VtcStatisticsWindow";
// Not drawn (the window has no title bar); it names the window for the
// task switcher and for tools that look windows up by title.
const char kWindowTitle[] = "Статистика";
const char kOkCaption[] = "OK";

constexpr int kClientW = 540, kClientH = 512;
constexpr int kBoxW = 537, kBoxH = 473;
constexpr int kOkX = 416, kOkY = 480, kOkW = 120, kOkH = 25;
constexpr int kIdText = 100, kIdOk = IDOK;

// The rich edit of the system, newest first; a plain edit box if none loads.
const wchar_t* LoadRichEdit() {
  if (LoadLibraryW(L"Msftedit.dll")) return MSFTEDIT_CLASS;  // RICHEDIT50W
  if (LoadLibraryW(L"Riched20.dll")) return RICHEDIT_CLASSW;  // RichEdit20W
  return nullptr;
}

}  // namespace

struct StatisticsWindow::Impl : BaseWindow {
  std::string appDir, currency;
  HWND box = nullptr;
  bool plainEdit = false;
  Font okFont, textFont;

  bool Build() {
    if (!CreateWin(kClassName, Utf8ToWide(kWindowTitle).c_str(), WS_POPUP | WS_BORDER, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, 0,
                   0, kClientW, kClientH))
      return false;
    SIZE outer = OuterSizeForClient(hwnd_, kClientW, kClientH);
    SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOACTIVATE);
    CenterOnScreen(hwnd_);

    const wchar_t* cls = LoadRichEdit();
    plainEdit = cls == nullptr;
    textFont.reset(MakeFont("Tahoma", 13));
    ControlArgs text;
    text.cls = plainEdit ? L"EDIT" : cls;
    text.w = kBoxW;
    text.h = kBoxH;
    text.style = ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
    text.exStyle = WS_EX_CLIENTEDGE;
    text.id = kIdText;
    text.font = textFont.get();
    box = CreateControl(hwnd_, text);
    if (!box) return false;
    if (!plainEdit) {
      SendMessageW(box, EM_SETBKGNDCOLOR, 0, static_cast<LPARAM>(GetSysColor(COLOR_WINDOW)));
      // The default limit (64K characters) would cut a long history.
      SendMessageW(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    } else {
      SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    }
    okFont.reset(MakeFont("Tahoma", 13, /*bold=*/true));
    ControlArgs ok;
    ok.cls = L"BUTTON";
    ok.text = kOkCaption;
    ok.x = kOkX;
    ok.y = kOkY;
    ok.w = kOkW;
    ok.h = kOkH;
    ok.style = BS_PUSHBUTTON | WS_TABSTOP;
    ok.id = kIdOk;
    ok.font = okFont.get();
    CreateControl(hwnd_, ok);
    return true;
  }

  void SetBoxText(std::string text) {
    // A rich edit takes a lone CR as a line break; a plain edit box needs CR LF.
    if (plainEdit) {
      std::string crlf;
      crlf.reserve(text.size() + text.size() / 8);
      for (char c : text) {
        crlf += c;
        if (c == '\r') crlf += '\n';
      }
      text.swap(crlf);
    }
    SetTextUtf8(box, "");
    SetTextUtf8(box, text);
    SendMessageW(box, EM_SETSEL, 0, 0);
    SendMessageW(box, EM_SCROLLCARET, 0, 0);
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_COMMAND:
        if (LOWORD(wp) == kIdOk && HIWORD(wp) == BN_CLICKED) {
          ShowWindow(hwnd_, SW_HIDE);
          return 0;
        }
        break;
      case WM_CLOSE:
        return 0;  // only "OK" hides the window; it lives as long as the program
      default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }
};

StatisticsWindow::StatisticsWindow() : impl_(std::make_unique<Impl>()) {}

StatisticsWindow::~StatisticsWindow() = default;

bool StatisticsWindow::Create(const std::string& appDir, int historyRecords, const std::string& currency) {
  impl_->appDir = appDir;
  impl_->currency = currency;
  if (!impl_->Build()) return false;
  FillStatistics(historyRecords);
  return true;
}

void StatisticsWindow::FillStatistics(int historyRecords) {
  if (!impl_->box) return;
  impl_->SetBoxText(FillStatisticsText(IniFile(impl_->appDir + kStatisticsFileName), historyRecords, impl_->currency));
}

void StatisticsWindow::Show() {
  HWND h = impl_->hwnd();
  if (!h) return;
  SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(h);
}

HWND StatisticsWindow::hwnd() const { return impl_->hwnd(); }

std::string StatisticsWindow::Text() const { return impl_->box ? GetTextUtf8(impl_->box) : std::string(); }

}  // namespace vtc
