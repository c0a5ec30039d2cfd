#include "store/Utf8.h"

#include <gtest/gtest.h>

namespace
{
// U+00E4, U+20AC and U+1F600 take two, three and four UTF-8 bytes (and a surrogate pair
// where wchar_t is 16 bits wide).
const char kUtf8[] = "a\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80";

std::wstring Wide()
{
    std::wstring text = L"a\u00E4\u20AC";
    if (sizeof(wchar_t) == 2)
    {
        text += static_cast<wchar_t>(0xD83D);
        text += static_cast<wchar_t>(0xDE00);
    }
    else
    {
        text += static_cast<wchar_t>(0x1F600);
    }
    return text;
}
} // namespace

TEST(Utf8, ConvertsEveryEncodedLengthBothWays)
{
    EXPECT_EQ(ToUtf8(Wide()), kUtf8);
    EXPECT_EQ(FromUtf8(kUtf8), Wide());
}

TEST(Utf8, ReplacesMalformedInputAndKeepsWhatFollows)
{
    // A stray continuation byte, a truncated sequence and an overlong '/'.
    EXPECT_EQ(FromUtf8(std::string("x\x80y")), L"x\uFFFDy");
    EXPECT_EQ(FromUtf8(std::string("x\xE2\x82y")), L"x\uFFFDy");
    EXPECT_EQ(FromUtf8(std::string("\xC0\xAFz")), L"\uFFFDz");
    // An encoded surrogate is not a character.
    EXPECT_EQ(FromUtf8(std::string("\xED\xA0\x80")), L"\uFFFD");
    if (sizeof(wchar_t) == 2)
    {
        std::wstring lone(1, static_cast<wchar_t>(0xD83D));
        EXPECT_EQ(ToUtf8(lone + L"q"), "\xEF\xBF\xBDq");
    }
}
