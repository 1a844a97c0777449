#include "support/temp_dir.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "common/encoding.h"

namespace vtc::test {
namespace {

std::string UniqueName(const char* stem) {
  static std::atomic<int> counter{0};
  return std::string(stem) + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(GetTickCount()) + "-" +
         std::to_string(counter++);
}

void RemoveTree(const std::wstring& dir) {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW((dir + L"*").c_str(), &fd);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = fd.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring full = dir + name;
      if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(full + L"\\");
      } else {
        SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(full.c_str());
      }
    } while (FindNextFileW(h, &fd));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

}  // namespace

TempDir::TempDir() {
  wchar_t tmp[MAX_PATH];
  GetTempPathW(MAX_PATH, tmp);
  path_ = WideToUtf8(tmp) + UniqueName("vtc-") + "\\";
  CreateDirectoryW(Utf8ToWide(path_).c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(Utf8ToWide(path_)); }

void TempDir::Write(const std::string& name, const std::string& bytes) const {
  std::wstring full = Utf8ToWide(File(name));
  size_t slash = full.find_last_of(L'\\');
  // Create intermediate folders.
  for (size_t p = Utf8ToWide(path_).size(); p < slash; ++p) {
    if (full[p] == L'\\') CreateDirectoryW(full.substr(0, p).c_str(), nullptr);
  }
  CreateDirectoryW(full.substr(0, slash).c_str(), nullptr);
  FILE* f = _wfopen(full.c_str(), L"wb");
  if (!f) return;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::string TempDir::Read(const std::string& name) const {
  FILE* f = _wfopen(Utf8ToWide(File(name)).c_str(), L"rb");
  if (!f) return "";
  std::string out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
  fclose(f);
  return out;
}

bool TempDir::Exists(const std::string& name) const {
  return GetFileAttributesW(Utf8ToWide(File(name)).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int TempDir::EntryCount() const {
  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(Utf8ToWide(path_ + "*").c_str(), &fd);
  if (h == INVALID_HANDLE_VALUE) return 0;
  int n = 0;
  do {
    if (wcscmp(fd.cFileName, L".") != 0 && wcscmp(fd.cFileName, L"..") != 0) ++n;
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return n;
}

TestRegistry::TestRegistry() : ScopedRegistryRedirect("SOFTWARE\\vtc-test-" + UniqueName("") + "\\") {}
TestRegistry::TestRegistry(RegOpener opener)
    : ScopedRegistryRedirect("SOFTWARE\\vtc-test-" + UniqueName("") + "\\", std::move(opener)) {}

}  // namespace vtc::test
