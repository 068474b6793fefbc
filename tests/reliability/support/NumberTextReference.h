#pragma once
// Plain restatements of the number-text rules, written apart from the
// conversions themselves, for the random test and the fuzzers to compare
// against: text to number (blanks and control characters trimmed, the first
// point read as the locale's separator, in a point locale the first comma
// too; a sign, digits with at most one separator, an exponent; 0 for
// anything else and for values beyond the extended range), text to complex
// (the imaginary unit j written before its coefficient) and the strict
// integer conversion (decimal, or hexadecimal after "$", "x" or "0x").
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace reliability::ref {

inline bool Digit(char c) { return c >= '0' && c <= '9'; }

inline std::string Trimmed(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
  return s.substr(a, b - a);
}

// The C text of a number in the locale's syntax, or false.
inline bool CText(const std::string& t, char sep, std::string& c) {
  const size_t e = t.find_first_of("eE");
  const std::string mant = t.substr(0, e);
  const std::string expo = e == std::string::npos ? "" : t.substr(e + 1);
  size_t i = 0;
  c.clear();
  if (i < mant.size() && (mant[i] == '+' || mant[i] == '-')) c += mant[i++];
  int digits = 0, seps = 0;
  for (; i < mant.size(); ++i) {
    if (Digit(mant[i])) {
      ++digits;
      c += mant[i];
    } else if (mant[i] == sep) {
      ++seps;
      c += '.';
    } else {
      return false;
    }
  }
  if (seps > 1 || digits + seps == 0) return false;
  if (digits == 0) c += '0';
  if (e != std::string::npos) {
    size_t j = 0;
    std::string x;
    if (j < expo.size() && (expo[j] == '+' || expo[j] == '-')) x += expo[j++];
    if (j == expo.size()) return false;
    for (; j < expo.size(); ++j) {
      if (!Digit(expo[j])) return false;
      x += expo[j];
    }
    c += "e" + x;
  }
  return true;
}

inline long double StrToFloatZero(const std::string& s, char sep) {
  std::string t = Trimmed(s);
  size_t p = t.find('.');
  if (p != std::string::npos) t[p] = sep;
  if (sep == '.' && (p = t.find(',')) != std::string::npos) t[p] = '.';
  std::string c;
  if (!CText(t, sep, c)) return 0;
  const long double v = std::strtold(c.c_str(), nullptr);  // the C locale: tests do not set another
  return std::isfinite(v) ? v : 0;
}

struct Complex {
  long double re, im;
};

inline Complex StrToZespol(const std::string& s, char sep) {
  const size_t j = s.find('j');
  if (j == std::string::npos) return {StrToFloatZero(s, sep), 0};
  std::string left = s.substr(0, j);
  const std::string right = s.substr(j + 1);
  long double sign = 1;
  for (size_t k = left.size(); k > 0; --k) {
    const char c = left[k - 1];
    if (Digit(c)) break;
    if (c == '+' || c == '-') {
      sign = c == '-' ? -1 : 1;
      left[k - 1] = ' ';
      break;
    }
  }
  return {StrToFloatZero(left, sep), sign * StrToFloatZero(right, sep)};
}

inline bool TryStrToInt(const std::string& s, int32_t& v) {
  size_t i = s.find_first_not_of(' ');
  if (i == std::string::npos) return false;
  bool minus = false;
  if (s[i] == '+' || s[i] == '-') minus = s[i++] == '-';
  bool hex = false;
  if (s.compare(i, 1, "$") == 0 || s.compare(i, 1, "x") == 0 || s.compare(i, 1, "X") == 0) {
    hex = true;
    i += 1;
  } else if (s.compare(i, 2, "0x") == 0 || s.compare(i, 2, "0X") == 0) {
    hex = true;
    i += 2;
  }
  const std::string body = s.substr(i);
  if (body.empty()) return false;
  unsigned long long acc = 0;
  for (char c : body) {
    int d;
    if (Digit(c)) d = c - '0';
    else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else return false;
    acc = acc * (hex ? 16 : 10) + d;
    if (acc > 0xFFFFFFFFull) return false;
  }
  if (hex) {
    const uint32_t bits = static_cast<uint32_t>(acc);
    v = static_cast<int32_t>(minus ? 0u - bits : bits);
    return true;
  }
  if (acc > (minus ? 2147483648ull : 2147483647ull)) return false;
  v = static_cast<int32_t>(minus ? -static_cast<long long>(acc) : static_cast<long long>(acc));
  return true;
}

}  // namespace reliability::ref
