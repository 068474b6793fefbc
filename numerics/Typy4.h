#pragma once
// Number texts of the grids and labels: fixed-point text of a scaled value,
// complex text, and text to number with the locale's decimal separator
// (text that does not convert gives 0, silently).
#include <string>

#include "numerics/AlgeZes4.h"

namespace num {

std::string FloatToStrSkal(Extended x, Extended scale, int decimals);
// The same text in fixed notation also from 10^18 on, where FloatToStrSkal
// turns to scientific: the 18 significant digits, then zeros.
std::string FloatToStrStaly(Extended x, Extended scale, int decimals);
std::string ZespolToStr(const TZespol& z, Extended scale, int decimals);
std::string PoprawSeparator(const std::string& s);
Extended StrToFloatZero(const std::string& s);
TZespol StrToZespol(const std::string& s);

}  // namespace num
