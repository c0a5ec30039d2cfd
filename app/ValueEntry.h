#pragma once
// The source value: digit text, sign and number, edited key by key like a pocket
// calculator. After every key the text, the number and every stored result agree.
#include <string>

class CRecordsetCategory;
class CRecordsetUnit;
class CTavEditLCD;

class CValueEntry
{
public:
    // Key codes.
    static constexpr int kPoint = 10;
    static constexpr int kSign = 12;
    static constexpr int kClear = 13;
    static constexpr int kBackspace = 14;
    static constexpr int kRefresh = -1;

    void Init(CTavEditLCD* pDisplay, CRecordsetCategory* pCategorySet, CRecordsetUnit* pUnitSet);
    // Record sets opened anew in place of the old ones; the value stays as it is.
    void Rebind(CRecordsetCategory* pCategorySet, CRecordsetUnit* pUnitSet);
    void Reset();
    void SetValue(double value);
    void SetText(const std::wstring& text);
    bool PressKey(int code);
    void RecalculateResults(double value);

    const std::wstring& Digits() const { return m_strDigits; }
    bool IsPositive() const { return m_bPositive; }
    double Value() const { return m_dValue; }

private:
    void RestoreNonFinite(double value);
    bool ReplaceSelection(int code);
    void AppendLimited(const std::wstring& piece);
    void Normalise();
    std::wstring DisplayText() const;

    CTavEditLCD* m_pDisplay = nullptr;
    CRecordsetCategory* m_pCategorySet = nullptr;
    CRecordsetUnit* m_pUnitSet = nullptr;
    std::wstring m_strDigits = L"0";
    bool m_bPositive = true;
    double m_dValue = 0.0;
};
