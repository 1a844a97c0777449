// The window that asks for a password: a prompt, a masked field and "OK" on a
// dialog frame without a title bar, above every other window. The meter asks
// with it before it exits and the settings program before it opens; they
// differ in its look and in what they do with the answer.
#pragma once
#include <windows.h>

#include <string>

#include "common/win/gdi.h"
#include "common/win/window.h"

namespace vtc {

class PasswordPrompt : public BaseWindow {
 public:
  struct Place {
    int x, y, w, h;
  };
  struct Look {
    const wchar_t* className;
    const char* title;  // the window text; no title bar shows it
    const char* prompt;
    int clientW, clientH;
    int promptId, fieldId, okId;
    Place promptPlace, fieldPlace, okPlace;
    bool promptWraps;     // a wrapping label rather than one line
    DWORD exStyle;        // beside WS_EX_TOPMOST
    bool okIsDefault;     // "OK" drawn as the default button
    bool enterConfirms;   // Enter in the field is "OK"
    bool fieldOnFace;     // the field drawn on the window's background colour
    bool closeRefused;    // a close request is ignored rather than passed on
  };

  HWND field() const { return field_; }
  HWND okButton() const { return ok_; }

 protected:
  // Built hidden and centred; `font` is borrowed.
  bool CreatePrompt(HWND owner, HFONT font, const Look& look);
  // Shows the window in front with the keyboard in the field.
  void ShowPrompt();
  // "OK" with what was typed.
  virtual void OnConfirm(const std::string& typed) = 0;
  // A close request the look does not refuse; the platform's default closes.
  virtual void OnCloseRequest() { DestroyWindow(hwnd_); }
  virtual void OnDestroyed() {}

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static LRESULT CALLBACK FieldProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void Confirm();

  Look look_{};
  HWND prompt_ = nullptr, field_ = nullptr, ok_ = nullptr;
  Brush fieldBrush_;
};

}  // namespace vtc
