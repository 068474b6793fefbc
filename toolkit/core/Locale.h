#pragma once
// The decimal separator of the user's locale, read where text is converted.
#include <string>

namespace tk {

// The separator of the user's numeric locale (LC_ALL / LC_NUMERIC / LANG),
// or the one a test has set with SetDecimalSeparator.
char DecimalSeparator();

// For tests: force "," or "."; '\0' returns to the user's locale.
void SetDecimalSeparator(char separator);

// The user's short date and long time of the given moment, as the clock shows them.
std::string ShortDateText(long long unixSeconds);
std::string LongTimeText(long long unixSeconds);

}  // namespace tk
