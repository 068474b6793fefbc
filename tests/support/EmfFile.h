#pragma once
// Reads an enhanced metafile's bytes back as a test sees them: its 32-bit
// fields, its chain of records, and the texts its text records draw.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "toolkit/emf/EmfRecords.h"

namespace testsupport {

inline uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
  if (at + 4 > b.size()) throw std::out_of_range("read past the end");
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
inline int32_t I32(const std::vector<uint8_t>& b, size_t at) { return static_cast<int32_t>(U32(b, at)); }

struct EmfRecord {
  uint32_t type;
  size_t at, size;
};

// Walks the records from the header to the end record, checking that their
// sizes chain exactly to the end of the file.
inline std::vector<EmfRecord> Walk(const std::vector<uint8_t>& f) {
  std::vector<EmfRecord> out;
  size_t at = 0;
  while (at < f.size()) {
    const uint32_t type = U32(f, at), size = U32(f, at + 4);
    EXPECT_GE(size, 8u) << "record " << out.size();
    EXPECT_EQ(size % 4, 0u) << "record " << out.size();
    if (size < 8 || at + size > f.size()) {
      ADD_FAILURE() << "record " << out.size() << " runs past the end";
      break;
    }
    out.push_back({type, at, size});
    at += size;
    if (type == tk::emf::EMR_EOF) break;
  }
  EXPECT_EQ(at, f.size()) << "bytes after the end record";
  return out;
}

// The text of an EMR_EXTTEXTOUTW record.
inline std::u16string TextOf(const std::vector<uint8_t>& f, const EmfRecord& r) {
  const uint32_t n = U32(f, r.at + 44), off = U32(f, r.at + 48);
  EXPECT_LE(off + 2 * n, r.size);
  std::u16string s;
  for (uint32_t i = 0; i < n; ++i) s += char16_t(f.at(r.at + off + 2 * i) | f.at(r.at + off + 2 * i + 1) << 8);
  return s;
}

// The same text in UTF-8 (characters of the basic plane, as drawn texts are).
inline std::string Utf8(const std::u16string& s) {
  std::string t;
  for (const char16_t ch : s) {
    if (ch < 0x80) {
      t += char(ch);
    } else if (ch < 0x800) {
      t += char(0xC0 | ch >> 6);
      t += char(0x80 | (ch & 0x3F));
    } else {
      t += char(0xE0 | ch >> 12);
      t += char(0x80 | (ch >> 6 & 0x3F));
      t += char(0x80 | (ch & 0x3F));
    }
  }
  return t;
}

}  // namespace testsupport
