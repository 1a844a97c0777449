#include "common/profile_scan.h"

namespace vtc {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

std::string Trim(const std::string& s, size_t from, size_t to) {
  while (from < to && IsBlank(s[from])) ++from;
  while (to > from && IsBlank(s[to - 1])) --to;
  return s.substr(from, to - from);
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

}  // namespace

ScannedProfile ScanProfile(const std::string& bytes) {
  ScannedProfile out;
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t eol = bytes.find('\n', pos);
    size_t next = eol == std::string::npos ? bytes.size() : eol + 1;
    size_t end = eol == std::string::npos ? bytes.size() : eol;
    size_t start = pos;
    while (start < end && IsBlank(bytes[start])) ++start;
    while (end > start && IsBlank(bytes[end - 1])) --end;
    if (start < end) {
      size_t close = bytes[start] == '[' ? bytes.rfind(']', end - 1) : std::string::npos;
      if (close != std::string::npos && close > start) {
        ScannedSection s;
        s.name = Trim(bytes, start + 1, close);
        s.begin = pos;
        out.sections.push_back(std::move(s));
      } else if (!out.sections.empty()) {
        size_t eq = bytes.find('=', start);
        if (eq != std::string::npos && eq < end)
          out.sections.back().keys.emplace_back(Trim(bytes, start, eq), Trim(bytes, eq + 1, end));
        else
          out.sections.back().keys.emplace_back(Trim(bytes, start, end), "");
      }
    }
    pos = next;
  }
  return out;
}

std::optional<std::string> FindScannedKey(const ScannedSection& section, const std::string& key) {
  for (const auto& kv : section.keys)
    if (SameAsciiCase(kv.first, key)) return kv.second;
  return std::nullopt;
}

}  // namespace vtc
