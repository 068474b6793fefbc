#pragma once
// Byte strings for the layout readers' tests, and the check that a read
// fails as a damaged stream should.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "toolkit/core/Errors.h"

namespace testsupport {

inline std::vector<uint8_t> Bytes(std::initializer_list<int> b) {
  std::vector<uint8_t> v;
  for (int x : b) v.push_back(static_cast<uint8_t>(x));
  return v;
}

// The read fails with the reader's one message for a damaged stream.
inline void ExpectInvalid(const std::function<void()>& read) {
  try {
    read();
    FAIL() << "no error";
  } catch (const tk::EReadError& e) {
    EXPECT_STREQ(e.what(), "Invalid property value");
  }
}

}  // namespace testsupport
