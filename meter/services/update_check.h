// Asking the update server whether a newer version has been published.
#pragma once
#include <windows.h>

#include <string>

#include "meter/core/balloon.h"

namespace vtc {

constexpr const char* kCurrentVersion = "4.7";

// The built-in address of /VER.TXT (the build option's host).
std::string DefaultUpdateUrl();

// Downloads `url` into `file` and announces a first line that differs from
// kCurrentVersion: by balloon when automatic, by message box owned by `owner` otherwise.
void CheckForUpdate(const std::string& url, const std::string& file, bool automatic, BalloonSink& sink, HWND owner);

}  // namespace vtc
