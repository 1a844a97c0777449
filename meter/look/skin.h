// Skins: the floating window's picture, size and label layout, and the two
// tray icons.
#pragma once
#include <windows.h>

#include <functional>
#include <string>

#include "common/win/gdi.h"
#include "common/win/ui.h"

namespace vtc {

constexpr const char* kDefaultLabelFace = "MS Sans Serif";

// One value label of the floating window: an opaque box with centred,
// top-aligned text in the skin's font and colours. Mouse input passes through
// it (HTTRANSPARENT) to the window beneath, so the background area or the
// floating window handles dragging and the context menu for every label.
class SkinLabel {
 public:
  SkinLabel() = default;
  SkinLabel(const SkinLabel&) = delete;
  SkinLabel& operator=(const SkinLabel&) = delete;
  ~SkinLabel();

  // Creates the child window hidden, with the caption "?" and the control ID `id`.
  bool Create(HWND parent, int id);
  // The text is the window's own text, so other programs can read it too.
  void SetText(const std::string& utf8);
  std::string Text() const;
  HWND hwnd() const { return hwnd_; }
  bool ShownBySkin() const { return visible_; }

  // Applied by LoadSkin.
  void SetBounds(int left, int top, int width, int height);
  void SetColors(COLORREF back, COLORREF text);
  void SetFont(const std::string& face, int height);
  void SetVisible(bool visible);

  COLORREF BackColor() const { return back_; }
  COLORREF TextColor() const { return fore_; }
  // The font as the platform holds it (face name and logical height).
  LOGFONTW FontInfo() const;
  RECT Bounds() const;  // in the parent's client coordinates

  // Paints the label into `dc` (its window procedure for WM_PAINT and
  // WM_PRINTCLIENT, and tests through a memory DC).
  void Paint(HDC dc) const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  COLORREF back_ = 0, fore_ = 0;
  Font font_;
  bool visible_ = false;
};

struct SkinResources {
  Icon online, offline;
  Bitmap background;
  int width = 0, height = 0;
};

// Loads the skin in the fixed order: icons from the skin root in appDir, the
// offline icon into the tray through setTrayIcon, main.bmp sizing `window`
// and `background`, then the nine keys of each label from look.ini.
// labels[0] is Label1 ... labels[11] is Label12. Reports nothing.
void LoadSkin(const std::string& appDir, const std::string& skinDir, HWND window, HWND background,
              SkinLabel* labels[12], SkinResources& res, const std::function<void(HICON)>& setTrayIcon);

// Draws the skin's picture at (0, 0) at its own size; nothing when there is none.
void PaintSkinBackground(HDC dc, const SkinResources& res);

}  // namespace vtc
