#pragma once
// The source value: digit text, sign and number, edited key by key like a pocket
// calculator. After every key the text to show and the number agree. No window and no
// catalogue: the main window shows Text() and stores Value().
#include <string>

class CValueEntry
{
public:
    // Key codes besides the digits 0 to 9.
    static constexpr int kPoint = 10;
    static constexpr int kSign = 12;
    static constexpr int kClear = 13;
    static constexpr int kBackspace = 14;
    static constexpr int kRefresh = -1;

    void Reset();
    void SetValue(double value);
    void SetText(const std::wstring& text);
    // One key. A digit, point or backspace typed over a selection [nSelStart, nSelEnd) of
    // Text() edits the text as shown. False for a code that is no key, and after a
    // replaced selection.
    bool PressKey(int code, int nSelStart = 0, int nSelEnd = 0);

    const std::wstring& Text() const { return m_strText; }
    const std::wstring& Digits() const { return m_strDigits; }
    bool IsPositive() const { return m_bPositive; }
    double Value() const { return m_dValue; }

private:
    void RestoreNonFinite(double value);
    bool ReplaceSelection(int code, int nSelStart, int nSelEnd);
    void AppendLimited(const std::wstring& piece);
    void Normalise();

    std::wstring m_strDigits = L"0";
    std::wstring m_strText = L"0";
    bool m_bPositive = true;
    double m_dValue = 0.0;
};
