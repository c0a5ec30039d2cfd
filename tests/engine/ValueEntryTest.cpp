// The keypad's rules, key by key, without a window.
#include "engine/ValueEntry.h"

#include "engine/ValueText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace
{
// The keyboard's keys: digits, "." and "-" as typed, "<" for backspace, "C" for Esc.
int KeyCode(wchar_t c)
{
    switch (c)
    {
    case L'.':
        return CValueEntry::kPoint;
    case L'-':
        return CValueEntry::kSign;
    case L'<':
        return CValueEntry::kBackspace;
    case L'C':
        return CValueEntry::kClear;
    default:
        return c - L'0';
    }
}

// What the value field shows after each group of keys, typed from a cleared entry.
std::vector<std::wstring> Shown(std::initializer_list<const wchar_t*> groups)
{
    CValueEntry entry;
    std::vector<std::wstring> shown;
    for (const wchar_t* group : groups)
    {
        for (const wchar_t* c = group; *c != L'\0'; ++c)
            entry.PressKey(KeyCode(*c));
        shown.push_back(entry.Text());
    }
    return shown;
}

using Texts = std::vector<std::wstring>;
} // namespace

TEST(ValueEntry, DigitsPointSignBackspaceAndClearFollowTheCalculatorRules)
{
    EXPECT_EQ(Shown({L"0", L"5", L".", L"0", L"5"}), (Texts{L"0", L"5", L"5.", L"5.0", L"5.05"}));
    EXPECT_EQ(Shown({L".", L"0", L"5"}), (Texts{L"0.", L"0.0", L"0.05"}));
    EXPECT_EQ(Shown({L"12.5", L"."}), (Texts{L"12.5", L"12.5"}));
    EXPECT_EQ(Shown({L"0.5<", L"<", L"7-", L"<", L"-", L"3C"}),
              (Texts{L"0.", L"0", L"-7", L"0", L"-0", L"0"}));
}

TEST(ValueEntry, TextIsLimitedToTwentyCharacters)
{
    const auto shown = Shown({L"12345678901234567890", L"1", L".", L"1"});
    EXPECT_EQ(shown[0], L"12345678901234567890");
    EXPECT_EQ(shown[1], L"12345678901234567890") << "a 21st digit is ignored";
    EXPECT_EQ(shown[2], L"12345678901234567890") << "no room for the point either";

    const auto withPoint = Shown({L"1234567890123456789", L".", L"1"});
    EXPECT_EQ(withPoint[1], L"1234567890123456789.") << "a point after 19 digits";
    EXPECT_EQ(withPoint[2], L"1234567890123456789.") << "no digit once the point is in";

    const auto early = Shown({L"1.", L"2345678901234567", L"8", L"9"});
    EXPECT_EQ(early[2], L"1.23456789012345678");
    EXPECT_EQ(early[3], L"1.23456789012345678") << "19 characters with the point: full";
}

TEST(ValueEntry, KeysOverASelectionEditTheShownText)
{
    CValueEntry entry;
    entry.SetText(L"-12.5");
    EXPECT_FALSE(entry.PressKey(7, 1, 3)) << "\"1\" and \"2\" replaced";
    EXPECT_EQ(entry.Text(), L"-7.5");
    EXPECT_EQ(entry.Value(), -7.5);
    entry.PressKey(CValueEntry::kPoint, 2, 4);
    EXPECT_EQ(entry.Text(), L"-7.");
    entry.PressKey(CValueEntry::kSign, 0, 3);
    EXPECT_EQ(entry.Text(), L"7.") << "the sign acts on the whole value";
    entry.PressKey(CValueEntry::kBackspace, 0, 2);
    EXPECT_EQ(entry.Text(), L"0");
}

TEST(ValueEntry, SetTextKeepsTheDigitsAndSetValueEveryBit)
{
    const std::vector<std::pair<const wchar_t*, const wchar_t*>> pasted = {
        {L"1e5", L"15"}, {L"12,5", L"125"}, {L"  7", L"7"}, {L"-00.50", L"-0.50"}, {L"abc", L"0"}};
    for (const auto& [text, shown] : pasted)
    {
        CValueEntry entry;
        entry.SetText(text);
        EXPECT_EQ(entry.Text(), shown);
    }

    const double huge = std::numeric_limits<double>::max();
    for (const double value : {-0.0, 0.1, 12345678901234567890.0, 1e62, -3.5e200, huge})
    {
        CValueEntry entry;
        entry.SetValue(value);
        double read = 1.0;
        EXPECT_TRUE(ParseNumber(entry.Text(), read) && read == value) << value;
        EXPECT_EQ(std::signbit(entry.Value()), std::signbit(value)) << value;
        EXPECT_EQ(entry.Value(), value);
    }

    // An infinity has no digits: it shows as the lists show it, and the next key starts anew.
    CValueEntry entry;
    entry.SetValue(-std::numeric_limits<double>::infinity());
    EXPECT_EQ(entry.Text(), L"-inf");
    EXPECT_TRUE(std::isinf(entry.Value()));
    entry.PressKey(5);
    EXPECT_EQ(entry.Text(), L"5");
}
