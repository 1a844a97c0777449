// What every page of the settings window is to the window: it builds its
// controls, shows what is stored, may refuse what was typed, hands back what
// is to be stored and answers for its own controls. The window holds the
// pages in a list and does each of these for all of them in the list's order.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/product.h"
#include "settings/pages/settings_io.h"

namespace vtc {

// Where a page is built and what it may borrow from the window.
struct PageContext {
  HWND tab = nullptr;          // the page lies over its display area
  HWND owner = nullptr;        // the settings window: parents boxes, dialogs and the skin test window
  HFONT font = nullptr;        // borrowed
  HFONT boldFont = nullptr;    // borrowed
  std::string appDir;          // ends with a backslash
};

class SettingsPage {
 public:
  virtual ~SettingsPage() = default;

  // The caption of the page's tab.
  virtual const char* Title() const = 0;
  // Builds the page hidden, with every control of it.
  virtual void Build(const PageContext& c) = 0;
  // Shows the stored settings; `stored` is read whole before any page loads.
  virtual void Load(const StoredSettings&) {}
  // The warning, naming the field, when a field holds what cannot be stored.
  virtual std::optional<std::string> Refusal() const { return std::nullopt; }
  // Puts what the page holds into `out`; only when no page refused.
  virtual void Save(StoredSettings&) const {}
  // A control told the window `code`; true when `id` is one of the page's.
  virtual bool OnCommand(int id, int code) = 0;
  // The page comes into view.
  virtual void OnShow() {}
  // The page goes out of view, or the window closes: what runs for the
  // page's sake alone stops.
  virtual void OnHide() {}

  HWND page() const { return page_; }

 protected:
  HWND page_ = nullptr;
};

}  // namespace vtc
