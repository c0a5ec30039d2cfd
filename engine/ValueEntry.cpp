#include "engine/ValueEntry.h"

#include "engine/ValueText.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace
{
constexpr std::size_t kDigitLimit = 20;
// A value comes back (a category chosen, a unit set as source) as plain digits wide enough
// for every finite double: the largest has 309 integer digits, and FormatValue needs two
// places more than the digits it may write. Any narrower width turns large values into
// "0", and the recalculation would then store 0 in every unit of the category.
constexpr int kRestoreWidth = std::numeric_limits<double>::max_exponent10 + 4;

bool IsDigitCode(int code)
{
    return code >= 0 && code <= 9;
}
wchar_t DigitOf(int code)
{
    return static_cast<wchar_t>(L'0' + code);
}
} // namespace

void CValueEntry::Reset()
{
    SetValue(0.0);
}

// The sign is taken from the sign bit, so a stored -0 comes back as -0 and stays so.
void CValueEntry::SetValue(double value)
{
    if (!std::isfinite(value))
    {
        RestoreNonFinite(value);
        return;
    }
    m_strDigits = FormatValue(value, kRestoreWidth);
    m_bPositive = !std::signbit(value);
    PressKey(kRefresh);
}

// An infinity or NaN (a zero factor's result) has no digits to edit. It shows as the lists
// show it and stays the value, so nothing stored is lost; the next key starts a new number
// from 0.
void CValueEntry::RestoreNonFinite(double value)
{
    m_strDigits = L"0";
    m_bPositive = true;
    m_dValue = value;
    m_strText = FormatValue(value, kRestoreWidth);
}

void CValueEntry::SetText(const std::wstring& text)
{
    m_strDigits.clear();
    double value = 0.0;
    if (ParseNumber(text, value))
        m_strDigits = text;
    m_bPositive = !std::signbit(value);
    PressKey(kRefresh);
}

bool CValueEntry::PressKey(int code, int nSelStart, int nSelEnd)
{
    if (ReplaceSelection(code, nSelStart, nSelEnd))
        return false;

    bool bResult = true;
    if (IsDigitCode(code))
        AppendLimited(std::wstring(1, DigitOf(code)));
    else if (code == kPoint)
    {
        if (m_strDigits.empty())
            m_strDigits = L"0";
        if (m_strDigits.find(L'.') == std::wstring::npos)
            AppendLimited(L".");
    }
    else if (code == kSign)
        m_bPositive = !m_bPositive;
    else if (code == kClear)
        Reset();
    else if (code == kBackspace)
    {
        if (m_strDigits.size() > 1)
            m_strDigits.pop_back();
        else
            Reset();
    }
    else
        bResult = false;

    Normalise();
    double magnitude = 0.0;
    ParseNumber(m_strDigits, magnitude);
    m_dValue = m_bPositive ? magnitude : -magnitude;
    m_strText = m_bPositive ? m_strDigits : L"-" + m_strDigits;
    return bResult;
}

// Typing over a selection edits the text as shown; sign and clear act on the whole value.
bool CValueEntry::ReplaceSelection(int code, int nSelStart, int nSelEnd)
{
    if (nSelStart < 0 || nSelStart >= nSelEnd)
        return false;
    const std::wstring& shown = m_strText;
    const std::wstring left = shown.substr(0, std::min<std::size_t>(nSelStart, shown.size()));
    const std::wstring right = shown.substr(std::min<std::size_t>(nSelEnd, shown.size()));

    std::wstring replaced;
    if (IsDigitCode(code))
        replaced = left + DigitOf(code) + right;
    else if (code == kPoint)
        replaced = left + L"." + right;
    else if (code == kBackspace)
        replaced = left + right;
    else
        return false;
    SetText(replaced);
    return true;
}

void CValueEntry::AppendLimited(const std::wstring& piece)
{
    std::size_t length = m_strDigits.size();
    if (m_strDigits.find(L'.') != std::wstring::npos)
        ++length;
    if (length < kDigitLimit)
        m_strDigits += piece;
}

void CValueEntry::Normalise()
{
    std::wstring text;
    for (wchar_t c : m_strDigits)
        if ((c >= L'0' && c <= L'9') || c == L'.')
            text += c;
    const auto firstNonZero = text.find_first_not_of(L'0');
    text.erase(0, firstNonZero == std::wstring::npos ? text.size() : firstNonZero);
    if (text.empty())
        text = L"0";
    if (text[0] == L'.')
        text.insert(text.begin(), L'0');
    const auto point = text.find(L'.');
    if (point != std::wstring::npos)
    {
        text.erase(std::remove(text.begin(), text.end(), L'.'), text.end());
        text.insert(point, 1, L'.');
    }
    m_strDigits = text;
}
