#include <gtest/gtest.h>

#include "platform/core/text.h"

using namespace platform;

TEST(Text, Utf16RoundTripKeepsCharactersOutsideTheBmp) {
  const std::string text = "Caf\xC3\xA9 \xF0\x9F\x8E\xB5 \xF0\xA0\x80\x8B";  // é, 🎵, 𠀋
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.size(), 4u + 1 + 2 + 1 + 2);
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("a\xFF" "b")), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16("\xE2\x82")), "\xEF\xBF\xBD");  // cut short
}

TEST(Text, Latin1KeepsWhatItCanAndMarksTheRest) {
  EXPECT_EQ(Utf8ToLatin1("Caf\xC3\xA9 \xE6\x97\xA5 \xF0\x9F\x8E\xB5"), "Caf\xE9 ? ?");
  EXPECT_EQ(Latin1ToUtf8("Caf\xE9"), "Caf\xC3\xA9");
}

TEST(Text, FormattingAndComparison) {
  EXPECT_EQ(StrPrintf("%s (%d)%s", "a", 2, ".mp3"), "a (2).mp3");
  EXPECT_EQ(StrPrintf("%s", ""), "");
  EXPECT_TRUE(EqualsNoCase("OUTPUT", "output"));
  EXPECT_FALSE(EqualsNoCase("OUTPUT", "outputs"));
  EXPECT_EQ(Trim("  a b \r\n"), "a b");
  EXPECT_EQ(Utf8Left("\xC3\xA9\xC3\xA9x", 2), "\xC3\xA9\xC3\xA9");
}
