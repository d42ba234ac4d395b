#include <gtest/gtest.h>

#include <cmath>

#include "model/stream.h"

using namespace qm;

TEST(Stream, WritesLittleEndianFieldsAndReadsThemBack) {
  std::string bytes;
  TDrawingWriter w(bytes);
  w.Single(5.09f);
  w.Int16(1);
  w.Int32(-2);
  w.Double(0.5);
  w.TaggedString("ab");
  w.TaggedString(std::string(300, 'x'));
  w.ShortText256("Layer 1");
  w.ListHeader(3);
  ASSERT_EQ(bytes.size(), 4u + 2 + 4 + 8 + 4 + 305 + 256 + 10);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\x48\xE1\xA2\x40\x01\x00", 6));
  EXPECT_EQ(bytes.substr(18, 4), std::string("\x06\x02" "ab", 4));
  EXPECT_EQ(static_cast<unsigned char>(bytes[22]), 12);

  TDrawingReader r(bytes);
  EXPECT_EQ(r.Single(), 5.09f);
  EXPECT_EQ(r.Int16(), 1);
  EXPECT_EQ(r.Int32(), -2);
  EXPECT_EQ(r.Double(), 0.5);
  EXPECT_EQ(r.TaggedString(), "ab");
  EXPECT_EQ(r.TaggedString(), std::string(300, 'x'));
  EXPECT_EQ(r.ShortText256(), "Layer 1");
  EXPECT_EQ(r.ListHeader(0), 3);
  EXPECT_TRUE(r.ok());
  EXPECT_TRUE(r.AtEnd());
}

TEST(Stream, HostileInputFailsOnceAndStaysFailed) {
  struct Case {
    std::string bytes;
    StreamError expected;
    const char* what;
  } cases[] = {
      {std::string("\x07\x01x", 3), StreamError::BadString, "tag 7"},
      {std::string("\x06\x05" "ab", 4), StreamError::Truncated, "length beyond the data"},
      {std::string("\x0C\xFF\xFF\xFF\x7F" "a", 6), StreamError::Truncated, "huge long string"},
      {std::string("\x0C\xFF\xFF\xFF\xFF", 5), StreamError::BadString, "negative long string"},
      {std::string("\x32\x00\xFF\xFF\xFF\xFF\x00\x00\x00\x00", 10), StreamError::BadCount, "negative count"},
      {std::string("\x32\x00\x10\x00\x00\x00\x00\x00\x00\x00" "1234", 14), StreamError::BadCount,
       "more records than bytes"},
  };
  for (const auto& c : cases) {
    TDrawingReader r(c.bytes);
    if (c.bytes[0] == '\x32') r.ListHeader(4);
    else r.TaggedString();
    EXPECT_EQ(r.error(), c.expected) << c.what;
    // Every later read answers zero and keeps the first error.
    EXPECT_EQ(r.Int32(), 0);
    EXPECT_EQ(r.error(), c.expected) << c.what;
  }
  std::string name("abc\0zzz", 7), unterminated("abcdefg", 7);
  TDrawingReader good(name), bad(unterminated);
  EXPECT_EQ(good.FixedName(7), "abc");
  EXPECT_TRUE(good.AtEnd());
  bad.FixedName(7);
  EXPECT_EQ(bad.error(), StreamError::BadString);
}

TEST(Stream, VersionsCompareAsSingles) {
  // The stored bytes 4A E1 A2 40 read back at least 5.09; the Single 5.08
  // is 5.0799999 and must still count as 5.08.
  std::string v509("\x4A\xE1\xA2\x40", 4);
  TDrawingReader r(v509);
  float v = r.Single();
  EXPECT_TRUE(VersionAtLeast(v, kVersion509));
  EXPECT_TRUE(VersionAtLeast(5.08f, kVersion508));
  EXPECT_FALSE(VersionAtLeast(5.07f, kVersion508));
  EXPECT_LT(static_cast<double>(5.08f), 5.08);
}
