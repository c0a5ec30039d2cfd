#include "rates/RatesDocument.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
const std::wstring kStart = L"<Cube currency=";
const std::wstring kEnd = L"/>";
} // namespace

TEST(ExtractElement, FailsWithoutStartOrWithoutAnEndAfterIt)
{
    std::wstring text = L"<Cube time='2005-12-06'>\n";
    std::wstring content = L"left over";
    EXPECT_FALSE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(content, L"");
    EXPECT_EQ(text, L"<Cube time='2005-12-06'>\n");

    // The end text only counts after the start text.
    text = L"x/>\n<Cube currency='USD' rate='1.2'";
    content = L"left over";
    EXPECT_FALSE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(content, L"");
    EXPECT_EQ(text, L"x/>\n<Cube currency='USD' rate='1.2'");
}

TEST(ExtractElement, ReturnsWhatLiesBetweenTheMarkers)
{
    std::wstring text = L"a\n<Cube time='2005-12-06'>\n<Cube currency='USD' rate='1.2'/>\n";
    std::wstring content;
    ASSERT_TRUE(ExtractElement(text, content, L"<Cube time=", L">", false));
    EXPECT_EQ(content, L"'2005-12-06'");
    EXPECT_EQ(text, L"a\n<Cube time='2005-12-06'>\n<Cube currency='USD' rate='1.2'/>\n");

    // Without consuming, the same element comes again.
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, false));
    EXPECT_EQ(content, L"'USD' rate='1.2'");
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, false));
    EXPECT_EQ(content, L"'USD' rate='1.2'");
}

TEST(ExtractElement, ConsumingCutsTheElementAndOneLineFeedBeforeIt)
{
    std::wstring text = L"head\n\n<Cube currency='USD' rate='1.2'/>\ntail";
    std::wstring content;
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(content, L"'USD' rate='1.2'");
    EXPECT_EQ(text, L"head\n\ntail");

    // At the very start there is no line feed to take.
    text = L"<Cube currency='JPY' rate='140'/>\nrest";
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(text, L"\nrest");

    // Any other character in front stays.
    text = L"\t<Cube currency='JPY' rate='140'/>";
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(text, L"\t");
}

TEST(ExtractElement, RepeatedConsumingWalksTheElementsInOrder)
{
    std::wstring text = L"<x>\n<Cube currency='USD' rate='1'/>\n<Cube currency='JPY' rate='2'/>\n"
                        L"<Cube currency='CHF' rate='3'/>\n</x>\n";
    std::vector<std::wstring> contents;
    std::wstring content;
    while (ExtractElement(text, content, kStart, kEnd, true))
        contents.push_back(content);
    EXPECT_EQ(contents, (std::vector<std::wstring>{L"'USD' rate='1'", L"'JPY' rate='2'", L"'CHF' rate='3'"}));
    EXPECT_EQ(text, L"<x>\n</x>\n");
}

TEST(ExtractElement, AnEmptyElementIsFoundAndCutWhenConsuming)
{
    std::wstring text = L"a\n<Cube currency=/>b";
    std::wstring content = L"left over";
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, false));
    EXPECT_EQ(content, L"");
    EXPECT_EQ(text, L"a\n<Cube currency=/>b");

    // Found again and again unless it is cut out: a scan over it would never end.
    ASSERT_TRUE(ExtractElement(text, content, kStart, kEnd, true));
    EXPECT_EQ(content, L"");
    EXPECT_EQ(text, L"ab");
    EXPECT_FALSE(ExtractElement(text, content, kStart, kEnd, true));
}
