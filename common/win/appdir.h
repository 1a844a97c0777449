#pragma once
#include <string>

namespace vtc {
// Folder of the running program file with a trailing backslash (UTF-8).
std::string AppDir();
bool FileExists(const std::string& path);
}  // namespace vtc
