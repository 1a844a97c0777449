#include <gtest/gtest.h>

#include "common/conntypes.h"
#include "common/crypt.h"
#include "common/encoding.h"

using namespace vtc;

TEST(Crypt, KeyIsOneDigitAndKeepsEveryCharacterInOneByte) {
  EXPECT_GE(ScrambleKey, 2);
  EXPECT_LE(ScrambleKey, 9);
  EXPECT_LE(97 + 255 / ScrambleKey, 255);
}

TEST(Crypt, RoundTripsEveryByteValue) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string s = ScrambleText(all, ScrambleKey);
  ASSERT_EQ(s.size(), 512u);
  for (size_t i = 0; i < s.size(); i += 2) {
    EXPECT_GE(static_cast<unsigned char>(s[i]), 97);
    EXPECT_GE(static_cast<unsigned char>(s[i + 1]), 65);
    EXPECT_LT(static_cast<unsigned char>(s[i + 1]), 65 + ScrambleKey);
  }
  EXPECT_EQ(UnscrambleText(s, ScrambleKey), all);
}

TEST(Crypt, KnownPairsAndOddOrForeignInput) {
  // 'A' = 65 = 9*7 + 2 -> 'j' (97+9), 'C' (65+2)
  EXPECT_EQ(ScrambleText("A", 7), "jC");
  EXPECT_EQ(ScrambleText("", 7), "");
  EXPECT_EQ(UnscrambleText("jCx", 7), "A");  // a last unpaired character is ignored
  // Characters outside the produced ranges are not rejected: the formula decides.
  EXPECT_EQ(UnscrambleText("AA", 7), std::string(1, static_cast<char>(((65 - 97) * 7) & 0xFF)));
}

TEST(Encoding, Cp1251RoundTripsEveryByte) {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
  EXPECT_EQ(Cp1251ToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2"), "Привет");
  EXPECT_EQ(Utf8ToCp1251("Ёё№€"), "\xA8\xB8\xB9\x88");
  EXPECT_EQ(Utf8ToCp1251("日本"), "??");
}

// A router's names come in UTF-8 or, from older firmware, in 1251.
TEST(Encoding, DeviceTextsIn1251OrUtf8ShowAsTheyWereMeant) {
  const struct {
    std::string bytes, shown;
  } cases[] = {
      {"eth0.2", "eth0.2"},
      {"Порт WAN", "Порт WAN"},
      {Utf8ToCp1251("Порт WAN"), "Порт WAN"},
      {"\xD0", Cp1251ToUtf8("\xD0")},                                // cut short: not UTF-8
      {"\x80", Cp1251ToUtf8("\x80")},                                // a continuation byte first
      {"\xF8\x88\x80\x80\x80", Cp1251ToUtf8("\xF8\x88\x80\x80\x80")},  // five bytes: no longer UTF-8
  };
  for (const auto& c : cases) EXPECT_EQ(DeviceTextToUtf8(c.bytes), c.shown) << c.shown;
}

TEST(Encoding, WideRoundTrip) {
  std::string s = "Настройки — ОК 😀 \uFFFF\U00010000";  // the last of three bytes, the first of four
  EXPECT_EQ(WideToUtf8(Utf8ToWide(s)), s);
  EXPECT_EQ(Utf8ToWide("Выход"), std::wstring(L"\u0412\u044b\u0445\u043e\u0434"));
}

TEST(ConnectionTypes, IndexAndTypeBothWays) {
  const int types[] = {0, 23, 6, 9, 37, 71, 144, 146, 147, 148, 239, 240, 241};
  for (int i = 0; i < kConnectionTypeCount; ++i) {
    EXPECT_EQ(ConnectionTypeAt(i).type, types[i]);
    EXPECT_EQ(ConnectionTypeIndex(types[i]), i);
  }
  EXPECT_EQ(ConnectionTypeIndex(24), -1);
  EXPECT_STREQ(ConnectionTypeAt(0).findText, "(Показать все)");
  EXPECT_STREQ(ConnectionTypeAt(0).autoText, "(Автоопределение отключено)");
  EXPECT_STREQ(ConnectionTypeAt(2).autoText, "Соединение через локальную сеть (IEEE 802.3)");
  EXPECT_STREQ(ConnectionTypeAt(4).findText, "Сеть ATM");
}
