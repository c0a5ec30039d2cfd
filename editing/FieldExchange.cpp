#include "editing/FieldExchange.h"

#include "engine/NumberText.h"
#include "engine/ValueText.h"

#include "framework/MessageBox.h"

#include <cmath>

namespace
{
constexpr int kNumberPrecision = 15;
constexpr int kTextColumnChars = 255;

bool IsBlankOrTab(wchar_t c) { return c == L' ' || c == L'\t'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

std::size_t SkipDigits(const std::wstring& text, std::size_t i)
{
    while (i < text.size() && IsDigit(text[i]))
        ++i;
    return i;
}

// [sign] digits [. digits] [e [sign] digits], with a mantissa digit, and nothing more: what
// the number reader takes from the start of the text, when it takes the whole text.
bool IsWholeDecimal(const std::wstring& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-'))
        ++i;
    const std::size_t integerEnd = SkipDigits(text, i);
    bool hasDigit = integerEnd > i;
    i = integerEnd;
    if (i < text.size() && text[i] == L'.')
    {
        const std::size_t fractionEnd = SkipDigits(text, i + 1);
        hasDigit = hasDigit || fractionEnd > i + 1;
        i = fractionEnd;
    }
    if (!hasDigit)
        return false;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E'))
    {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-'))
            ++j;
        const std::size_t exponentEnd = SkipDigits(text, j);
        if (exponentEnd == j)
            return false;
        i = exponentEnd;
    }
    return i == text.size();
}

// Values that no typed text reads as, but which a record can hold (from a zero factor, or
// a value toggled to -0 on the keypad). Their own text, left as it was, keeps them, so such
// a unit can still be edited.
bool IsUnreadableValue(double value)
{
    return !std::isfinite(value) || (value == 0.0 && std::signbit(value));
}
} // namespace

bool ReadFieldNumber(const std::wstring& text, double& value)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlankOrTab(text[begin]))
        ++begin;
    while (end > begin && IsBlankOrTab(text[end - 1]))
        --end;
    const std::wstring number = text.substr(begin, end - begin);
    if (!IsWholeDecimal(number))
        return false;
    double read = 0.0;
    if (!ParseNumber(number, read))
        return false;
    if (read == 0.0 && number[0] != L'0')
        return false;
    value = read;
    return true;
}

void ExchangeColumnText(CDataExchange& dx, int id, CDaoRecordset& set, std::wstring& member)
{
    if (!dx.m_bSaveAndValidate)
    {
        std::wstring shown = set.IsFieldNull(&member) ? std::wstring() : member;
        dx.Text(id, shown);
        // What the user types beyond the column's limit would be refused by the engine on OK.
        dx.MaxChars(id, kTextColumnChars);
        return;
    }
    std::wstring text;
    dx.Text(id, text);
    if (text.empty())
        set.SetFieldNull(&member);
    else
        member = std::move(text);
}

void ExchangeColumnNumber(CDataExchange& dx, int id, CDaoRecordset& set, double& member)
{
    if (!dx.m_bSaveAndValidate)
    {
        std::wstring shown = set.IsFieldNull(&member) || std::isnan(member)
                                 ? std::wstring()
                                 : FormatGeneral(member, kNumberPrecision);
        dx.Text(id, shown);
        return;
    }
    std::wstring text;
    dx.Text(id, text);
    if (text.empty())
    {
        set.SetFieldNull(&member);
        return;
    }
    double value = 0.0;
    if (ReadFieldNumber(text, value))
    {
        member = value;
        return;
    }
    if (IsUnreadableValue(member) && text == FormatGeneral(member, kNumberPrecision))
        return;
    AfxMessageBox(L"Please enter a number.", MB_OK);
    dx.Fail();
}

void ExchangeColumnCheck(CDataExchange& dx, int id, CDaoRecordset& set, bool& member)
{
    BOOL checked = (!set.IsFieldNull(&member) && member) ? BST_CHECKED : BST_UNCHECKED;
    dx.Check(id, checked);
    if (dx.m_bSaveAndValidate)
        member = checked == BST_CHECKED;
}
