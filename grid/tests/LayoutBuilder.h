#pragma once
// Builds layout streams for the aligned grid's tests, property by property.
#include <cstdint>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "toolkit/layout/LayoutStream.h"

namespace gridtest {

// The five values of a font record.
inline void FontRecord(tk::TWriter& w, uint32_t color, int height, const std::string& name, int pitch, int style) {
  w.WriteInteger(static_cast<int32_t>(color));
  w.WriteInteger(height);
  w.WriteString(name);
  w.WriteInteger(pitch);
  w.WriteInteger(style);
}

class LayoutBuilder {
 public:
  // A binary property from its packed records.
  LayoutBuilder& Binary(const std::string& name, const std::vector<uint8_t>& bytes) {
    w_.WritePropName(name);
    w_.WriteBinary(bytes);
    return *this;
  }
  // A property whose value the function writes (a list, a single value...).
  LayoutBuilder& Value(const std::string& name, const std::function<void(tk::TWriter&)>& write) {
    w_.WritePropName(name);
    write(w_);
    return *this;
  }
  // A list property of (col, row, text) entries.
  LayoutBuilder& CellTexts(const std::string& name, const std::vector<std::tuple<int, int, std::string>>& entries) {
    return Value(name, [&](tk::TWriter& w) {
      w.WriteListBegin();
      for (const auto& [c, r, t] : entries) {
        w.WriteInteger(c);
        w.WriteInteger(r);
        w.WriteString(t);
      }
      w.WriteListEnd();
    });
  }
  // A font list property of one entry: the column or row index (or the
  // cell's column and row) and the five values of its font record.
  LayoutBuilder& Font(const std::string& name, const std::vector<int>& at, uint32_t color, int height,
                      const std::string& font, int pitch, int style) {
    return Value(name, [&](tk::TWriter& w) {
      w.WriteListBegin();
      for (int i : at) w.WriteInteger(i);
      FontRecord(w, color, height, font, pitch, style);
      w.WriteListEnd();
    });
  }
  // A list property of (index, colour) entries.
  LayoutBuilder& IndexColors(const std::string& name, const std::vector<std::pair<int, uint32_t>>& entries) {
    return Value(name, [&](tk::TWriter& w) {
      w.WriteListBegin();
      for (const auto& [i, c] : entries) {
        w.WriteInteger(i);
        w.WriteInteger(static_cast<int32_t>(c));
      }
      w.WriteListEnd();
    });
  }
  // A list property of (col, row, colour) entries.
  LayoutBuilder& CellColors(const std::string& name, const std::vector<std::tuple<int, int, uint32_t>>& entries) {
    return Value(name, [&](tk::TWriter& w) {
      w.WriteListBegin();
      for (const auto& [c, r, colour] : entries) {
        w.WriteInteger(c);
        w.WriteInteger(r);
        w.WriteInteger(static_cast<int32_t>(colour));
      }
      w.WriteListEnd();
    });
  }
  std::vector<uint8_t> Build() {
    tk::TWriter copy = w_;
    copy.WriteEnd();
    return copy.Take();
  }

 private:
  tk::TWriter w_;
};

// Packed records of the binary alignment properties.
inline std::vector<uint8_t> IndexRecord(int index, int align) {
  return {static_cast<uint8_t>(index & 0xFF), static_cast<uint8_t>(index >> 8), static_cast<uint8_t>(align)};
}
inline std::vector<uint8_t> CellRecord(int col, int row, int align) {
  return {static_cast<uint8_t>(col & 0xFF), static_cast<uint8_t>(col >> 8), static_cast<uint8_t>(row & 0xFF),
          static_cast<uint8_t>(row >> 8), static_cast<uint8_t>(align)};
}
inline std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}
}  // namespace gridtest
