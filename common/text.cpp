#include "common/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace vtc {

std::string BytesText(double v) { return FormatBytes(v) + "b"; }

std::string TrimBlanks(const std::string& s) {
  const size_t from = s.find_first_not_of(" \t");
  if (from == std::string::npos) return std::string();
  return s.substr(from, s.find_last_not_of(" \t") - from + 1);
}

std::string_view TrimControls(std::string_view s) {
  const auto control = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  while (!s.empty() && control(s.front())) s.remove_prefix(1);
  while (!s.empty() && control(s.back())) s.remove_suffix(1);
  return s;
}

std::string FormatBytes(double v) {
  if (std::isnan(v)) return "0";
  if (v < 0) return "-" + FormatBytes(-v);
  static const char kSuffix[] = {'K', 'M', 'G', 'T'};
  int suffix = -1;
  for (int i = 0; i < 4 && v >= 1024; ++i) {
    v /= 1024;
    suffix = i;
  }
  double whole = std::trunc(v);
  char buf[400];
  std::snprintf(buf, sizeof buf, "%.0f", whole);
  std::string out = buf;
  int hundredths = static_cast<int>(std::trunc((v - whole) * 100));
  if (hundredths > 0) {
    out += '.';
    if (hundredths % 10 != 0) {
      out += static_cast<char>('0' + hundredths / 10);
      out += static_cast<char>('0' + hundredths % 10);
    } else {
      out += static_cast<char>('0' + hundredths / 10);
    }
  }
  if (suffix >= 0) out += kSuffix[suffix];
  return out;
}

std::string Pad2(int64_t v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%02lld", static_cast<long long>(v));
  return buf;
}

std::string FormatSeconds(double s) {
  if (!(s >= 0) || std::isinf(s)) s = 0;
  double hours = std::trunc(s / 3600);
  // fmod is exact; s - hours * 3600 is not once s has more digits than a
  // double holds, and a negative rest would not fit the integer fields.
  double rest = std::trunc(std::fmod(s, 3600));
  double minutes = std::trunc(rest / 60);
  double seconds = rest - minutes * 60;
  char h[400];
  std::snprintf(h, sizeof h, "%02.0f", hours);
  return std::string(h) + ":" + Pad2(static_cast<int64_t>(minutes)) + ":" +
         Pad2(static_cast<int64_t>(seconds));
}

std::optional<double> ParseSeconds(const std::string& text) {
  double parts[3] = {0, 0, 0};
  int field = 0;
  bool digit = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      parts[field] = parts[field] * 10 + (c - '0');
      digit = true;
    } else if (c == ':' && field < 2) {
      ++field;
    } else {
      return std::nullopt;
    }
  }
  if (!digit || field != 2) return std::nullopt;
  return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

double RoundMoney(double v) { return std::nearbyint(v / 0.01) * 0.01; }

std::string FloatText(double v) {
  if (!std::isfinite(v) || v == 0) return "0";
  char buf[64];
  // 15 significant digits, rounded to nearest with ties to even by the C library.
  std::snprintf(buf, sizeof buf, "%.14e", v);
  std::string s = buf;
  bool negative = s[0] == '-';
  if (negative) s.erase(0, 1);
  size_t e = s.find('e');
  int exponent = std::atoi(s.c_str() + e + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, e - 2);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  // Value = 0.d1d2d3... * 10^(exponent + 1)
  int point = exponent + 1;  // digits before the decimal point
  std::string out;
  if (point <= 0) {
    out = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
  } else if (static_cast<size_t>(point) >= digits.size()) {
    out = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
  } else {
    out = digits.substr(0, static_cast<size_t>(point)) + "." + digits.substr(static_cast<size_t>(point));
  }
  return negative ? "-" + out : out;
}

double TextFloat(const std::string& text) {
  std::string clean;
  size_t i = 0;
  if (!text.empty() && text[0] == '-') {
    clean += '-';
    i = 1;
  }
  bool seenPoint = false;
  bool seenDigit = false;
  long exponent = 0;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      clean += c;
      seenDigit = true;
    } else if (c == '.') {
      if (seenPoint) break;
      seenPoint = true;
      clean += '.';
    } else if (c == 'E' || c == 'e') {
      // The rest of the text is the exponent: optional sign, then digits.
      size_t j = i + 1;
      bool negExp = false;
      while (j < text.size() && !(text[j] >= '0' && text[j] <= '9') && text[j] != '-' && text[j] != '+') ++j;
      if (j < text.size() && (text[j] == '-' || text[j] == '+')) {
        negExp = text[j] == '-';
        ++j;
      }
      for (; j < text.size(); ++j) {
        char d = text[j];
        if (d >= '0' && d <= '9') {
          if (exponent < 100000) exponent = exponent * 10 + (d - '0');
        }
      }
      if (negExp) exponent = -exponent;
      break;
    }
  }
  if (!seenDigit) return 0;
  clean += "e" + std::to_string(exponent);
  double v = std::strtod(clean.c_str(), nullptr);
  if (!std::isfinite(v)) return 0;
  return v;
}

int64_t LeadingInt(const std::string& text) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  const int64_t kMax = std::numeric_limits<int64_t>::max();
  int64_t v = 0;
  bool saturated = false;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int d = text[i] - '0';
    if (v > (kMax - d) / 10) {
      saturated = true;
    } else if (!saturated) {
      v = v * 10 + d;
    }
  }
  if (saturated) return negative ? std::numeric_limits<int64_t>::min() : kMax;
  return negative ? -v : v;
}

int32_t ProfileInt(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  int64_t v = LeadingInt(text.substr(i));
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

}  // namespace vtc
