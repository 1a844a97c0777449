// The product's own names, shared by both programs and by their resource
// files (which see only the macro).
#pragma once

#define VTC_PRODUCT_TITLE "Varnok Traffic Counter"

#ifndef RC_INVOKED
namespace vtc {

constexpr const char* kProductTitle = VTC_PRODUCT_TITLE;

// The settings program as the user knows it: its window's caption, the
// caption of its message boxes, and the meter's menu item that starts it.
constexpr const char* kSettingsTitle = "Настройки";

// The meter's hidden window, which the settings program finds to tell it
// what it changed under the running meter.
constexpr const wchar_t* kMeterWindowClass = L"VtcApplication";
constexpr const wchar_t* kMeterWindowCaption = L"qmeter";
// Registered message: the totals were reset in the registry.
constexpr const wchar_t* kCountersResetMessage = L"VarnokTrafficCounter.CountersReset";

}  // namespace vtc
#endif
