// Conversions at the edges: UTF-8 inside, code page 1251 in files and registry
// strings, UTF-16 for windows. Platform-free, lossless for every 1251 byte
// (the one unassigned byte 0x98 maps to U+0098 and back).
#pragma once
#include <string>

namespace vtc {

std::string Cp1251ToUtf8(const std::string& bytes);
// Text another device sent without saying its encoding (ASCII, UTF-8, or
// 1251 from older Russian firmware): kept when it is UTF-8, else read as 1251.
std::string DeviceTextToUtf8(const std::string& bytes);
// Characters that 1251 cannot hold become "?".
std::string Utf8ToCp1251(const std::string& utf8);
std::wstring Utf8ToWide(const std::string& utf8);
std::string WideToUtf8(const std::wstring& wide);

}  // namespace vtc
