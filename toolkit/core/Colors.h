#pragma once
// The named colours: one list for the toolkit's constants (tk::clRed...) and
// for the layout compiler, which reads them by name in layout files.
#include <cstdint>

namespace tk {

// A colour value: 0x00BBGGRR, or a system colour 0x800000nn.
using TColor = uint32_t;

// X(name, value) for each named colour: the plain ones, then the system ones.
#define TK_NAMED_COLORS(X)       \
  X(clBlack, 0x000000)           \
  X(clMaroon, 0x000080)          \
  X(clGreen, 0x008000)           \
  X(clOlive, 0x008080)           \
  X(clNavy, 0x800000)            \
  X(clPurple, 0x800080)          \
  X(clTeal, 0x808000)            \
  X(clGray, 0x808080)            \
  X(clSilver, 0xC0C0C0)          \
  X(clRed, 0x0000FF)             \
  X(clLime, 0x00FF00)            \
  X(clYellow, 0x00FFFF)          \
  X(clBlue, 0xFF0000)            \
  X(clFuchsia, 0xFF00FF)         \
  X(clAqua, 0xFFFF00)            \
  X(clWhite, 0xFFFFFF)           \
  X(clActiveCaption, 0x80000002) \
  X(clMenu, 0x80000004)          \
  X(clWindow, 0x80000005)        \
  X(clWindowText, 0x80000008)    \
  X(clHighlight, 0x8000000D)     \
  X(clHighlightText, 0x8000000E) \
  X(clBtnFace, 0x8000000F)       \
  X(clBtnText, 0x80000012)       \
  X(clInfoBk, 0x80000018)

#define TK_COLOR_CONSTANT(name, value) constexpr TColor name = value;
TK_NAMED_COLORS(TK_COLOR_CONSTANT)
#undef TK_COLOR_CONSTANT

}  // namespace tk
