#include "toolkit/core/Locale.h"

#include <langinfo.h>
#include <locale.h>

#include <ctime>

namespace tk {

namespace {

char g_override = '\0';

// The user's locale as the environment names it; falls back to "C" when the
// named locale is not installed.
locale_t UserLocale() {
  static locale_t loc = [] {
    locale_t l = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (l == static_cast<locale_t>(0)) l = newlocale(LC_NUMERIC_MASK | LC_TIME_MASK, "C", static_cast<locale_t>(0));
    return l;
  }();
  return loc;
}

std::string FormatTime(long long unixSeconds, nl_item item) {
  std::time_t t = static_cast<std::time_t>(unixSeconds);
  std::tm tmv{};
  localtime_r(&t, &tmv);
  char buf[128];
  const char* fmt = nl_langinfo_l(item, UserLocale());
  size_t n = strftime_l(buf, sizeof buf, fmt, &tmv, UserLocale());
  return std::string(buf, n);
}

}  // namespace

char DecimalSeparator() {
  if (g_override != '\0') return g_override;
  const char* radix = nl_langinfo_l(RADIXCHAR, UserLocale());
  return (radix != nullptr && radix[0] == ',') ? ',' : '.';
}

void SetDecimalSeparator(char separator) { g_override = separator; }

std::string ShortDateText(long long unixSeconds) { return FormatTime(unixSeconds, D_FMT); }
std::string LongTimeText(long long unixSeconds) { return FormatTime(unixSeconds, T_FMT); }

}  // namespace tk
