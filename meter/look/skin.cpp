// Skins: look.ini and main.bmp of one skin folder, the shared tray icons, and
// the value labels they lay out.
#include "meter/look/skin.h"

#include "common/encoding.h"
#include "common/stored_names.h"
#include "common/win/gdi.h"
#include "common/win/ini.h"
#include "common/win/window.h"

namespace vtc {

namespace {

constexpr const wchar_t* kLabelClass = L"VtcSkinLabel";

// Colours are 0x00BBGGRR; a high byte would make GDI read the value as a
// palette index, so only the three colour bytes are kept.
COLORREF SkinColor(int value) { return static_cast<COLORREF>(value) & 0x00FFFFFFu; }

}  // namespace

SkinLabel::~SkinLabel() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
}

bool SkinLabel::Create(HWND parent, int id) {
  if (!RegisterWindowClass(kLabelClass, &SkinLabel::Proc)) return false;
  hwnd_ = CreateWindowExW(0, kLabelClass, L"?", WS_CHILD, 0, 0, 0, 0, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr),
                          nullptr);
  if (!hwnd_) return false;
  // Until this is set the procedure leaves every message to the default.
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  return true;
}

void SkinLabel::SetText(const std::string& utf8) {
  if (!hwnd_) return;
  if (GetTextUtf8(hwnd_) == utf8) return;  // no repaint, no flicker for an unchanged figure
  SetTextUtf8(hwnd_, utf8);
}

std::string SkinLabel::Text() const { return hwnd_ ? GetTextUtf8(hwnd_) : std::string(); }

void SkinLabel::SetBounds(int left, int top, int width, int height) {
  if (hwnd_) SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT SkinLabel::Bounds() const {
  RECT r{};
  if (!hwnd_) return r;
  GetWindowRect(hwnd_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

void SkinLabel::SetColors(COLORREF back, COLORREF text) {
  back_ = back;
  fore_ = text;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinLabel::SetFont(const std::string& face, int height) {
  font_.reset(MakeFont(face, height));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

LOGFONTW SkinLabel::FontInfo() const {
  LOGFONTW lf = {};
  if (font_) GetObjectW(font_.get(), sizeof lf, &lf);
  return lf;
}

void SkinLabel::SetVisible(bool visible) {
  visible_ = visible;
  if (hwnd_) ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void SkinLabel::Paint(HDC dc) const {
  if (!hwnd_) return;
  RECT r{};
  GetClientRect(hwnd_, &r);
  Brush back(CreateSolidBrush(back_));
  FillRect(dc, &r, back.get());
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  n = GetWindowTextW(hwnd_, &text[0], n + 1);
  text.resize(static_cast<size_t>(n > 0 ? n : 0));
  HGDIOBJ font = font_ ? static_cast<HGDIOBJ>(font_.get()) : GetStockObject(DEFAULT_GUI_FONT);
  SelectGuard sel(dc, font);
  int oldMode = SetBkMode(dc, TRANSPARENT);
  COLORREF oldColor = SetTextColor(dc, fore_);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
}

LRESULT CALLBACK SkinLabel::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<SkinLabel*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    case WM_ERASEBKGND:
      return 1;  // the paint routine fills the whole box
    case WM_PAINT: {
      PaintDC dc(hwnd);
      self->Paint(dc.get());
      return 0;
    }
    case WM_SETTEXT: {
      // Like a static control: whoever sets the text sees it drawn.
      LRESULT r = DefWindowProcW(hwnd, msg, wp, lp);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case WM_PRINTCLIENT:
      self->Paint(reinterpret_cast<HDC>(wp));
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = nullptr;
      break;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

void LoadSkin(const std::string& appDir, const std::string& skinDir, HWND window, HWND background,
              SkinLabel* labels[12], SkinResources& res, const std::function<void(HICON)>& setTrayIcon) {
  // The tray shows the small icon size; a multi-size .ico gives its matching image.
  const int iconW = GetSystemMetrics(SM_CXSMICON), iconH = GetSystemMetrics(SM_CYSMICON);
  auto loadIcon = [&](const char* name) {
    std::wstring path = Utf8ToWide(appDir + kSkinRootFolder + name);
    return static_cast<HICON>(LoadImageW(nullptr, path.c_str(), IMAGE_ICON, iconW, iconH, LR_LOADFROMFILE));
  };
  res.online.reset(loadIcon(kOnlineIconFileName));
  res.offline.reset(loadIcon(kOfflineIconFileName));
  // The connection counts as down until the first tick proves otherwise.
  if (setTrayIcon) setTrayIcon(res.offline.get());

  res.background.reset(static_cast<HBITMAP>(
      LoadImageW(nullptr, Utf8ToWide(skinDir + kSkinPictureFileName).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
  res.width = res.height = 0;
  if (res.background) {
    BITMAP bm{};
    if (GetObjectW(res.background.get(), sizeof bm, &bm)) {
      res.width = bm.bmWidth;
      res.height = bm.bmHeight;
    }
  }
  const UINT sizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  if (background) SetWindowPos(background, nullptr, 0, 0, res.width, res.height, sizeOnly);
  // The window has no border, so its outer size is the picture's size.
  if (window) SetWindowPos(window, nullptr, 0, 0, res.width, res.height, sizeOnly);

  IniFile ini(skinDir + kSkinDescriptionFileName);
  for (int i = 0; i < 12; ++i) {
    SkinLabel* label = labels ? labels[i] : nullptr;
    if (!label) continue;
    const std::string p = skinkey::Label + std::to_string(i + 1);
    // The keys in their fixed order; a key the skin leaves out gives the off value.
    int left = ini.ReadInt(kSkinLabelsSection, p + skinkey::Left, 0);
    int top = ini.ReadInt(kSkinLabelsSection, p + skinkey::Top, 0);
    int width = ini.ReadInt(kSkinLabelsSection, p + skinkey::Width, 0);
    int height = ini.ReadInt(kSkinLabelsSection, p + skinkey::Height, 0);
    label->SetBounds(left, top, width, height);
    COLORREF back = SkinColor(ini.ReadInt(kSkinLabelsSection, p + skinkey::Color, 0));
    int fontHeight = ini.ReadInt(kSkinLabelsSection, p + skinkey::FontHeight, 0);
    // Absent gives the classic face; present but empty leaves the face to the platform.
    std::string face = ini.Find(kSkinLabelsSection, p + skinkey::FontName).value_or(kDefaultLabelFace);
    label->SetFont(face, fontHeight);
    COLORREF fore = SkinColor(ini.ReadInt(kSkinLabelsSection, p + skinkey::FontColor, 0));
    label->SetColors(back, fore);
    label->SetVisible(ini.ReadBool(kSkinLabelsSection, p + skinkey::Visible, false));
  }
}

void PaintSkinBackground(HDC dc, const SkinResources& res) {
  if (!res.background || res.width <= 0 || res.height <= 0) return;
  MemoryDC mem(dc);
  if (!mem) return;
  SelectGuard sel(mem.get(), res.background.get());
  BitBlt(dc, 0, 0, res.width, res.height, mem.get(), 0, 0, SRCCOPY);
}

}  // namespace vtc
