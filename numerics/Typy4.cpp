#include "numerics/Typy4.h"

#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "numerics/Kontrola4.h"
#include "toolkit/core/FpCheck.h"
#include "toolkit/core/Locale.h"

namespace num {

namespace {

constexpr int kCyfry = 18;  // significant digits of the decimal form

// The decimal form of v with kCyfry significant digits, nearest: the digits
// d0 d1 ... d17 and the exponent of d0, v = d0.d1d2... * 10^wykladnik.
// printf's conversion of an extended value is exact before it rounds; its
// radix character depends on the C locale that the toolkit may have set, so
// only the digits are taken from it.
struct Dziesietna {
  char cyfry[kCyfry];
  int wykladnik;
};

Dziesietna NaDziesietna(Extended v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*Le", kCyfry - 1, v);
  Dziesietna d{};
  int n = 0;
  const char* p = buf;
  for (; *p != '\0' && *p != 'e' && *p != 'E'; ++p)
    if (*p >= '0' && *p <= '9' && n < kCyfry) d.cyfry[n++] = *p;
  while (n < kCyfry) d.cyfry[n++] = '0';
  d.wykladnik = (*p != '\0') ? std::atoi(p + 1) : 0;
  return d;
}

// Values of 10^18 and more have more integer digits than the 18 significant
// ones; they are written in scientific notation: the significant digits
// without trailing zeros and the exponent, e.g. 1.25E+20.
std::string Naukowa(bool ujemna, const Dziesietna& d, char sep) {
  int ostatnia = kCyfry - 1;
  while (ostatnia > 0 && d.cyfry[ostatnia] == '0') --ostatnia;
  std::string s;
  if (ujemna) s += '-';
  s += d.cyfry[0];
  if (ostatnia > 0) {
    s += sep;
    s.append(d.cyfry + 1, d.cyfry + ostatnia + 1);
  }
  char e[16];
  std::snprintf(e, sizeof e, "E%+d", d.wykladnik);
  return s + e;
}

// Trims characters with codes up to 32 (blanks and control characters) at
// both ends.
std::string Przytnij(const std::string& s) {
  size_t a = 0, b = s.size();
  while (a < b && static_cast<unsigned char>(s[a]) <= 32) ++a;
  while (b > a && static_cast<unsigned char>(s[b - 1]) <= 32) --b;
  return s.substr(a, b - a);
}

locale_t LokalC() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return c;
}

// The locale's number syntax: [blanks] [+|-] digits with at most one
// separator (a digit or the separator must be there) [(E|e) [+|-] digits]
// [blanks].  On success the value nearest to the text; false for any other
// text and for values beyond the extended range.
bool Konwertuj(const std::string& t, char sep, Extended& wynik) {
  const size_t n = t.size();
  size_t i = 0;
  while (i < n && t[i] == ' ') ++i;
  std::string c;  // the same number in the C syntax
  if (i < n && (t[i] == '+' || t[i] == '-')) c += t[i++];
  bool cyfra = false, separator = false;
  for (; i < n; ++i) {
    if (t[i] >= '0' && t[i] <= '9') {
      cyfra = true;
      c += t[i];
    } else if (t[i] == sep && !separator) {
      separator = true;
      c += '.';
    } else {
      break;
    }
  }
  if (!cyfra && !separator) return false;
  if (!cyfra) c += '0';  // a lone separator is a zero
  if (i < n && (t[i] == 'E' || t[i] == 'e')) {
    ++i;
    c += 'e';
    if (i < n && (t[i] == '+' || t[i] == '-')) c += t[i++];
    const size_t start = i;
    while (i < n && t[i] >= '0' && t[i] <= '9') c += t[i++];
    if (i == start) return false;
  }
  while (i < n && t[i] == ' ') ++i;
  if (i != n) return false;
  // The C-locale conversion of text already checked here; its overflow
  // and underflow flags are not faults of the program.
  tk::FpShield oslona;
  const Extended v = strtold_l(c.c_str(), nullptr, LokalC());
  if (!std::isfinite(v)) return false;
  wynik = v;
  return true;
}

}  // namespace

namespace {

// x·scale in fixed notation with the given decimals, from its 18 significant
// digits; with `naukowaOd18`, values of 10^18 and more in scientific notation.
std::string Tekst(Extended x, Extended scale, int decimals, bool naukowaOd18) {
  // A pending fault of the computation that produced x is reported before
  // its value is written anywhere.
  kontrola::SprawdzFlagi(x);
  const Extended v = x * scale;
  kontrola::Sprawdz(v);
  if (decimals < 0) decimals = 0;
  const char sep = tk::DecimalSeparator();
  const bool ujemna = std::signbit(v);

  Dziesietna d = NaDziesietna(std::fabs(v));
  if (v == 0.0L) d.wykladnik = 0;
  if (naukowaOd18 && d.wykladnik >= kCyfry) return Naukowa(ujemna, d, sep);

  // Digits of the number from 10^(wykladnik) down to 10^(-decimals): a
  // leading zero is kept for the carry, zeros fill what lies outside the
  // 18 significant digits.
  const int pierwsza = d.wykladnik;  // power of ten of d.cyfry[0]
  const int najwyzsza = pierwsza > 0 ? pierwsza : 0;
  const int liczba = najwyzsza + decimals + 2;  // carry + 10^najwyzsza .. 10^-decimals
  std::string cyfry(static_cast<size_t>(liczba), '0');
  auto indeks = [&](int potega) { return najwyzsza + 1 - potega; };  // position of 10^potega
  for (int k = 0; k < kCyfry; ++k) {
    const int potega = pierwsza - k;
    if (potega < -decimals) {
      // First dropped digit: a 5 or more rounds away from zero.
      if (potega == -decimals - 1 && d.cyfry[k] >= '5') {
        int j = indeks(-decimals);
        while (cyfry[j] == '9') cyfry[j--] = '0';
        ++cyfry[j];
      }
      break;
    }
    cyfry[indeks(potega)] = d.cyfry[k];
  }
  // Integer part without leading zeros (at least one digit), then decimals.
  const int koniecCalk = indeks(0) + 1;
  int start = 0;
  while (start < koniecCalk - 1 && cyfry[start] == '0') ++start;
  std::string calk = cyfry.substr(start, koniecCalk - start);
  std::string ulamek = cyfry.substr(koniecCalk);
  bool zero = true;
  for (char c : cyfry)
    if (c != '0') zero = false;
  std::string s;
  if (ujemna && !zero) s += '-';
  s += calk;
  if (decimals > 0) {
    s += sep;
    s += ulamek;
  }
  return s;
}

}  // namespace

std::string FloatToStrSkal(Extended x, Extended scale, int decimals) { return Tekst(x, scale, decimals, true); }

std::string FloatToStrStaly(Extended x, Extended scale, int decimals) { return Tekst(x, scale, decimals, false); }

std::string ZespolToStr(const TZespol& z, Extended scale, int decimals) {
  const TZespol w = z;
  std::string s = FloatToStrSkal(w.re, scale, decimals);
  s += (w.im >= 0.0L) ? "  + " : "  - ";
  s += "j ";
  s += FloatToStrSkal(std::fabs(w.im), scale, decimals);
  return s;
}

std::string PoprawSeparator(const std::string& s) {
  std::string t = Przytnij(s);
  const char sep = tk::DecimalSeparator();
  size_t p = t.find('.');
  if (p != std::string::npos) t[p] = sep;
  // Typed text with a comma reads the same in a point locale.
  if (sep == '.') {
    p = t.find(',');
    if (p != std::string::npos) t[p] = '.';
  }
  return t;
}

Extended StrToFloatZero(const std::string& s) {
  Extended v = 0.0L;
  if (!Konwertuj(PoprawSeparator(s), tk::DecimalSeparator(), v)) return 0.0L;
  return v;
}

TZespol StrToZespol(const std::string& s) {
  const size_t j = s.find('j');
  if (j == std::string::npos) return TZespol{StrToFloatZero(s), 0.0L};
  std::string lewa = s.substr(0, j);
  const std::string prawa = s.substr(j + 1);
  // The sign of the imaginary part is the last "+" or "-" before the j,
  // unless a digit comes after it.
  Extended znak = 1.0L;
  for (size_t k = lewa.size(); k-- > 0;) {
    const char c = lewa[k];
    if (c == '-' || c == '+') {
      if (c == '-') znak = -1.0L;
      lewa[k] = ' ';
      break;
    }
    if (c >= '0' && c <= '9') break;
  }
  return TZespol{StrToFloatZero(lewa), znak * StrToFloatZero(prawa)};
}

}  // namespace num
