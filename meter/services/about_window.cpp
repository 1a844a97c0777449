#include "meter/services/about_window.h"

#include "common/encoding.h"
#include "common/product.h"
#include "meter/services/update_check.h"

namespace vtc {

namespace {
constexpr const char* kAboutCaption = "О программе...";
constexpr const char* kThanksHeading = "Выражаю свою благодарность следующим людям";
constexpr const char* kForumsLine = "Отдельное спасибо форумам за сбор статистики:";
constexpr const char* kContactHeading = "С предложениями и вопросами обращайтесь";
constexpr const char* kFace = "Tahoma";
constexpr int kIdOk = IDOK;

HFONT Tahoma(int px, bool bold = false, bool underline = false) { return MakeFont(kFace, px, bold, underline); }

// Where Tahoma is missing a wider face stands in for it; a one-line text
// that would no longer fit its label is drawn a little smaller instead of
// being wrapped out of sight.
Font FittedTahoma(const std::string& text, int width, int px, bool bold, bool underline = false) {
  std::wstring w = Utf8ToWide(text);
  ClientDC screen(nullptr);
  Font font;
  for (int h = px; h >= px * 2 / 3; --h) {
    font.reset(Tahoma(h, bold, underline));
    SIZE sz{};
    {
      SelectGuard sel(screen.get(), font.get());
      GetTextExtentPoint32W(screen.get(), w.c_str(), static_cast<int>(w.size()), &sz);
    }
    if (sz.cx <= width) break;
  }
  return font;
}
}  // namespace

std::string AboutAuthorLine() { return std::string("АВТОР: ") + VTC_TEAM_NAME; }

std::string AboutThanksText() {
  // Only people and places the team can vouch for: the users who report
  // faults and the testers, reachable through the product's own contacts.
  std::string t;
  t += std::string("Пользователям, присылающим отзывы (") + VTC_CONTACT_EMAIL + ")\r\n";
  t += std::string("Тестировщикам новых версий (") + VTC_CONTACT_SITE + ")\r\n";
  t += "\r\n";
  t += std::string(kForumsLine) + "\r\n";
  t += std::string("- ") + VTC_CONTACT_SITE;
  return t;
}

bool AboutWindow::Create(HWND owner) {
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  const DWORD ex = WS_EX_TOPMOST | WS_EX_DLGMODALFRAME;  // the modal frame drops the window icon
  if (!CreateWin(L"VtcAboutWindow", Utf8ToWide(kAboutCaption).c_str(), style, ex, 0, 0, 100, 100, owner)) return false;
  // Close is taken off the system menu; "OK" is the way out.
  DeleteMenu(GetSystemMenu(hwnd_, FALSE), SC_CLOSE, MF_BYCOMMAND);
  SIZE outer = OuterSizeForClient(hwnd_, kClientWidth, kClientHeight);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, outer.cx, outer.cy, SWP_NOMOVE | SWP_NOACTIVATE);

  title_ = FittedTahoma(kProductTitle, 369, 35, true, true);
  version_.reset(Tahoma(15));
  author_ = FittedTahoma(AboutAuthorLine(), 369, 17, true);
  heading_ = FittedTahoma(kThanksHeading, 353, 15, true);
  contactHeading_ = FittedTahoma(kContactHeading, 329, 15, true);
  body_.reset(Tahoma(15));
  link_.reset(Tahoma(15, true, true));
  button_.reset(Tahoma(15, true));
  back_.reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));

  HWND w = hwnd_;
  CreateControl(w, {.text = kProductTitle, .x = 0, .y = 0, .w = 369, .h = 33, .style = SS_CENTER, .font = title_.get()});
  CreateControl(w, {.text = std::string("версия: ") + kCurrentVersion, .x = 272, .y = 40, .w = 97, .h = 17,
                    .font = version_.get()});
  CreateControl(w, {.text = AboutAuthorLine(), .x = 0, .y = 64, .w = 369, .h = 20, .style = SS_CENTER,
                    .font = author_.get()});
  CreateControl(w, {.text = "Программа предоставляется «как есть», без каких-либо гарантий.",
                    .x = 8, .y = 96, .w = 353, .h = 34, .style = SS_CENTER, .font = body_.get()});
  CreateControl(w, {.text = kThanksHeading, .x = 8, .y = 144, .w = 353, .h = 17, .font = heading_.get()});
  CreateControl(w, {.cls = L"EDIT", .text = AboutThanksText(), .x = 8, .y = 168, .w = 353, .h = 145,
                    .style = ES_MULTILINE | ES_READONLY, .exStyle = WS_EX_CLIENTEDGE, .font = body_.get()});
  CreateControl(w, {.text = kContactHeading, .x = 8, .y = 320, .w = 329, .h = 17, .font = contactHeading_.get()});
  const char* captions[3] = {"E-mail", "Сайт", "ICQ"};
  const char* values[3] = {VTC_CONTACT_EMAIL, VTC_CONTACT_SITE, VTC_CONTACT_ICQ};
  for (int i = 0; i < 3; ++i) {
    int y = 344 + 24 * i;
    CreateControl(w, {.text = captions[i], .x = 8, .y = y, .w = 49, .h = 17, .font = body_.get()});
    contacts_[i] = CreateControl(w, {.cls = L"EDIT", .text = values[i], .x = 64, .y = y, .w = 249, .h = 18,
                                     .style = ES_READONLY | ES_AUTOHSCROLL, .font = link_.get()});
  }
  CreateControl(w, {.cls = L"BUTTON", .text = "OK", .x = 104, .y = 424, .w = 169, .h = 25,
                    .style = WS_TABSTOP | BS_DEFPUSHBUTTON, .id = kIdOk, .font = button_.get()});
  CenterOnScreen(hwnd_);
  return true;
}

void AboutWindow::Show() {
  if (!hwnd_) return;
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
}

void AboutWindow::Hide() {
  if (hwnd_) ShowWindow(hwnd_, SW_HIDE);
}

LRESULT AboutWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLOSE:
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) return 0;
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == kIdOk && HIWORD(wp) == BN_CLICKED) {
        Hide();
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC: {
      // Read-only boxes arrive here too: the contacts are blue on the window colour.
      HDC dc = reinterpret_cast<HDC>(wp);
      HWND ctl = reinterpret_cast<HWND>(lp);
      SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
      bool contact = ctl == contacts_[0] || ctl == contacts_[1] || ctl == contacts_[2];
      SetTextColor(dc, contact ? RGB(0, 0, 255) : GetSysColor(COLOR_WINDOWTEXT));
      return reinterpret_cast<LRESULT>(back_.get());
    }
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace vtc
