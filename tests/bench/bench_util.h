// What the benchmark helpers share: a millisecond clock and one plain read
// of a file, the yardstick their figures are given against.
#pragma once
#include <windows.h>

#include <string>

namespace vtc::bench {

inline LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

inline double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return 1000.0 * static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

// Bytes read.
inline size_t ReadWhole(const std::wstring& path) {
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  std::string buf(1 << 16, '\0');
  size_t total = 0;
  DWORD got = 0;
  while (ReadFile(h, &buf[0], static_cast<DWORD>(buf.size()), &got, nullptr) && got > 0) total += got;
  CloseHandle(h);
  return total;
}

}  // namespace vtc::bench
