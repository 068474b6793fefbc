// Typed values of the layout streams, the property-stream loader and a bounded
// random test of the reader on damaged streams.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>
#include <vector>

#include "tests/support/ReadErrors.h"
#include "toolkit/core/Errors.h"
#include "toolkit/layout/LayoutStream.h"

using testsupport::Bytes;
using testsupport::ExpectInvalid;
using tk::EReadError;
using tk::TReader;
using tk::TWriter;

namespace {

TEST(TypedValues, IntegersTakeTheSmallestTagThatHoldsThem) {
  struct Case {
    int32_t v;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {0, Bytes({2, 0})},
      {-1, Bytes({2, 0xFF})},
      {127, Bytes({2, 0x7F})},
      {-128, Bytes({2, 0x80})},
      {128, Bytes({3, 0x80, 0x00})},
      {-129, Bytes({3, 0x7F, 0xFF})},
      {32767, Bytes({3, 0xFF, 0x7F})},
      {-32768, Bytes({3, 0x00, 0x80})},
      {32768, Bytes({4, 0x00, 0x80, 0x00, 0x00})},
      {65535, Bytes({4, 0xFF, 0xFF, 0x00, 0x00})},
      {INT32_MIN, Bytes({4, 0x00, 0x00, 0x00, 0x80})},
      {static_cast<int32_t>(0x80000002u), Bytes({4, 0x02, 0x00, 0x00, 0x80})},
  };
  for (const Case& c : cases) {
    TWriter w;
    w.WriteInteger(c.v);
    EXPECT_EQ(w.Bytes(), c.bytes) << c.v;
    TReader r(w.Bytes().data(), w.Bytes().size());
    EXPECT_EQ(r.ReadInteger(), c.v);
    EXPECT_TRUE(r.EndOfStream());
  }
}

TEST(TypedValues, StringsUpTo255BytesHaveALengthByteLongerOnesA32BitLength) {
  const std::string s255(255, 'x'), s256(256, 'y'), utf8 = "Potencjał żyły";
  TWriter w;
  w.WriteString("");
  w.WriteString(s255);
  w.WriteString(s256);
  w.WriteString(utf8);
  const auto& b = w.Bytes();
  EXPECT_EQ(b[0], 6);
  EXPECT_EQ(b[1], 0);
  EXPECT_EQ(b[2], 6);
  EXPECT_EQ(b[3], 255);
  EXPECT_EQ(b[4 + 255], 12);
  EXPECT_EQ(b[5 + 255], 0x00);
  EXPECT_EQ(b[6 + 255], 0x01);  // 256 little-endian
  TReader r(b.data(), b.size());
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_EQ(r.ReadString(), s255);
  EXPECT_EQ(r.ReadString(), s256);
  EXPECT_EQ(r.ReadString(), utf8);  // the length counts bytes
  EXPECT_TRUE(r.EndOfStream());
}

TEST(TypedValues, ListsBinariesBooleansAndNamesRoundTrip) {
  TWriter w;
  w.WritePropName("Cells");
  w.WriteListBegin();
  w.WriteInteger(2);
  w.WriteBoolean(true);
  w.WriteBoolean(false);
  w.WriteIdent("alCenter");
  w.WriteListEnd();
  w.WriteBinary(Bytes({1, 2, 3}));
  w.WriteEnd();
  EXPECT_EQ(w.Bytes(), Bytes({5,   'C', 'e', 'l', 'l', 's', 1,  2, 2, 9, 8, 7, 8, 'a', 'l', 'C',
                              'e', 'n', 't', 'e', 'r', 0,   10, 3, 0, 0, 0, 1, 2, 3,   0}));
  TReader r(w.Bytes().data(), w.Bytes().size());
  EXPECT_EQ(r.ReadPropName(), "Cells");
  r.ReadListBegin();
  EXPECT_EQ(r.ReadInteger(), 2);
  EXPECT_TRUE(r.ReadBoolean());
  EXPECT_FALSE(r.ReadBoolean());
  EXPECT_EQ(r.ReadIdent(), "alCenter");
  EXPECT_TRUE(r.EndOfList());
  r.ReadListEnd();
  EXPECT_EQ(r.ReadBinary(), Bytes({1, 2, 3}));
  EXPECT_EQ(r.ReadPropName(), "");
  EXPECT_TRUE(r.EndOfStream());
}

TEST(TypedValues, DamagedValuesFailWithoutReadingPastTheEnd) {
  // Each stream ends (or lies) before its value is complete.
  const std::vector<std::vector<uint8_t>> integers = {Bytes({}),           Bytes({2}),    Bytes({3, 1}),
                                                      Bytes({4, 1, 2, 3}), Bytes({6, 0}), Bytes({0})};
  for (const auto& b : integers) {
    TReader r(b.data(), b.size());
    ExpectInvalid([&] { r.ReadInteger(); });
  }
  const std::vector<std::vector<uint8_t>> strings = {Bytes({6, 5, 'a', 'b'}), Bytes({12, 0xFF, 0xFF, 0xFF, 0xFF, 'a'}),
                                                     Bytes({12, 1, 0}), Bytes({2, 1}), Bytes({6})};
  for (const auto& b : strings) {
    TReader r(b.data(), b.size());
    ExpectInvalid([&] { r.ReadString(); });
    EXPECT_LE(r.Position(), b.size());
  }
  const auto binary = Bytes({10, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2});
  TReader rb(binary.data(), binary.size());
  ExpectInvalid([&] { rb.ReadBinary(); });
  const auto notList = Bytes({2, 0});
  TReader rl(notList.data(), notList.size());
  ExpectInvalid([&] { rl.ReadListBegin(); });
  const auto name = Bytes({9, 'C', 'e'});
  TReader rn(name.data(), name.size());
  ExpectInvalid([&] { rn.ReadPropName(); });

  tk::TBytesStream s(Bytes({1, 2, 3}));
  EXPECT_EQ(s.ReadWord(), 0x0201);
  ExpectInvalid([&] { s.ReadWord(); });
  EXPECT_EQ(s.Position(), 2u);  // a failed read leaves the position
  EXPECT_EQ(s.ReadByte(), 3);
}

// A component with one property of each kind, recording what happens.
class Probe : public tk::TLayoutComponent {
 public:
  int number = 0;
  std::vector<uint8_t> blob;
  bool hasNumber = false, hasBlob = false;
  int loadedCalls = 0;
  bool loadingSeenInReader = false;
  void DefineProperties(tk::TFiler& filer) override {
    filer.DefineProperty(
        "Number",
        [this](TReader& r) {
          loadingSeenInReader = Loading();
          number = r.ReadInteger();
        },
        [this](TWriter& w) { w.WriteInteger(number); }, hasNumber);
    filer.DefineBinaryProperty(
        "Blob", [this](tk::TBytesStream& s) { blob = s.Bytes(); },
        [this](tk::TBytesStream& s) { s.WriteBuffer(blob.data(), blob.size()); }, hasBlob);
  }
  void Loaded() override { ++loadedCalls; }
};

TEST(PropertyLoader, HandsEachPropertyToItsReaderThenRunsLoaded) {
  Probe source;
  source.number = 1000;
  source.hasNumber = true;
  source.blob = Bytes({7, 8});
  source.hasBlob = true;
  const std::vector<uint8_t> stream = tk::WriteLayout(source);
  EXPECT_EQ(stream,
            Bytes({6, 'N', 'u', 'm', 'b', 'e', 'r', 3, 0xE8, 0x03, 4, 'B', 'l', 'o', 'b', 10, 2, 0, 0, 0, 7, 8, 0}));

  Probe target;
  tk::ReadLayout(target, stream.data(), stream.size());
  EXPECT_EQ(target.number, 1000);
  EXPECT_EQ(target.blob, Bytes({7, 8}));
  EXPECT_EQ(target.loadedCalls, 1);
  EXPECT_TRUE(target.loadingSeenInReader);
  EXPECT_FALSE(target.Loading());

  Probe nothing;  // a property without data is not written
  EXPECT_EQ(tk::WriteLayout(nothing), Bytes({0}));
}

TEST(PropertyLoader, AFailureKeepsWhatWasReadAndStillRunsLoaded) {
  // Number read, then the binary's count runs past the end.
  const auto truncated = Bytes({6, 'N', 'u', 'm', 'b', 'e', 'r', 2, 5, 4, 'B', 'l', 'o', 'b', 10, 9, 0, 0, 0, 1});
  Probe p;
  ExpectInvalid([&] { tk::ReadLayout(p, truncated.data(), truncated.size()); });
  EXPECT_EQ(p.number, 5);
  EXPECT_TRUE(p.blob.empty());
  EXPECT_EQ(p.loadedCalls, 1);
  EXPECT_FALSE(p.Loading());

  const auto unknown = Bytes({3, 'F', 'o', 'o', 2, 1, 0});
  Probe q;
  try {
    tk::ReadLayout(q, unknown.data(), unknown.size());
    FAIL();
  } catch (const EReadError& e) {
    EXPECT_STREQ(e.what(), "Property Foo does not exist");
  }
  EXPECT_EQ(q.loadedCalls, 1);

  // The end marker may be missing at the very end; an empty stream is no error.
  const auto noEnd = Bytes({6, 'N', 'u', 'm', 'b', 'e', 'r', 2, 9});
  Probe r;
  tk::ReadLayout(r, noEnd.data(), noEnd.size());
  EXPECT_EQ(r.number, 9);
  Probe s;
  tk::ReadLayout(s, nullptr, 0);
  EXPECT_EQ(s.loadedCalls, 1);
}

// Random damage to a stream that holds every kind of value: walking it value
// by value must end in a value or an EReadError, never outside the bytes.
TEST(PropertyLoader, RandomlyDamagedStreamsNeverReadOutside) {
  TWriter w;
  w.WritePropName("A");
  w.WriteListBegin();
  for (int i = 0; i < 6; ++i) {
    w.WriteInteger(i * 1000 - 3000);
    w.WriteString(std::string(static_cast<size_t>(i * 60), 'a'));
    w.WriteBoolean(i % 2);
    w.WriteIdent("name");
  }
  w.WriteListBegin();
  w.WriteBinary(Bytes({1, 2, 3, 4, 5}));
  w.WriteListEnd();
  w.WriteListEnd();
  w.WritePropName("B");
  w.WriteString(std::string(300, 'b'));
  w.WriteEnd();
  const std::vector<uint8_t> good = w.Take();

  std::mt19937 rng(20240607);
  int failures = 0, passes = 0;
  for (int iter = 0; iter < 20000; ++iter) {
    std::vector<uint8_t> b = good;
    const int edits = 1 + static_cast<int>(rng() % 4);
    for (int e = 0; e < edits; ++e) {
      switch (rng() % 4) {
        case 0: b[rng() % b.size()] = static_cast<uint8_t>(rng()); break;  // flip a byte
        case 1: b.resize(rng() % (b.size() + 1)); break;                   // cut the tail
        case 2:
          if (!b.empty()) b.erase(b.begin() + static_cast<long>(rng() % b.size()));
          break;
        case 3:
          b.insert(b.begin() + static_cast<long>(rng() % (b.size() + 1)), static_cast<uint8_t>(rng() % 16));
          break;
      }
      if (b.empty()) break;
    }
    // An owned copy exactly the damaged size, so that the sanitizer sees any overread.
    std::unique_ptr<uint8_t[]> copy(new uint8_t[b.size() + 1]);
    std::copy(b.begin(), b.end(), copy.get());
    TReader r(copy.get(), b.size());
    try {
      while (!r.EndOfStream()) {
        if (r.ReadPropName().empty()) break;
        r.SkipValue();
        ASSERT_LE(r.Position(), b.size());
      }
      ++passes;
    } catch (const EReadError&) {
      ++failures;
    }
    ASSERT_LE(r.Position(), b.size());
  }
  EXPECT_GT(failures, 0);
  EXPECT_GT(passes, 0);
}

TEST(PropertyLoader, DeeplyNestedListsAreRefusedNotRecursedWithoutEnd) {
  std::vector<uint8_t> b = Bytes({1, 'A'});
  b.insert(b.end(), 100000, 1);  // 100000 list starts
  TReader r(b.data(), b.size());
  EXPECT_EQ(r.ReadPropName(), "A");
  ExpectInvalid([&] { r.SkipValue(); });
}

}  // namespace
