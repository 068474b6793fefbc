#pragma once
// The run-time's strict integer conversion: decimal with an optional sign, or
// hexadecimal after "$", "x" or "0x"; blanks before the number are allowed,
// nothing after it.  Anything else fails with EConvertError
// "'<text>' is not a valid integer value".
#include <cstdint>
#include <string>

namespace tk {

int32_t StrToInt(const std::string& text);
// The same syntax; returns false instead of raising.
bool TryStrToInt(const std::string& text, int32_t& value);

}  // namespace tk
