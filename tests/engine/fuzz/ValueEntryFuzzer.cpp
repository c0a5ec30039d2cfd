// Any sequence of keys, over any selection: the text to show is the digits and the sign,
// holds one point at most and no leading zero, and reads back as the value bit for bit. A
// key typed without a selection never takes the digits past 20 characters. (Typing over a
// selection edits the text as shown, which may add a leading "0." as a paste would.)
#include "engine/ValueEntry.h"

#include "tests/Checks.h"

#include "engine/ValueText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

// Each byte is a key (its low four bits: 0 to 9, point, none, sign, clear, backspace, none);
// a byte with its high bit set also selects part of the shown text for that key.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CValueEntry entry;
    for (std::size_t i = 0; i < size; ++i)
    {
        const int code = (data[i] & 0x0F) == 11 || (data[i] & 0x0F) == 15 ? CValueEntry::kRefresh
                                                                          : data[i] & 0x0F;
        const int start = (data[i] >> 4) & 0x03;
        const int end = data[i] & 0x80 ? start + ((data[i] >> 6) & 0x01) + 1 : start;
        const std::size_t lengthBefore = entry.Digits().size();
        entry.PressKey(code, start, end);

        const std::wstring& digits = entry.Digits();
        Require(entry.Text() == (entry.IsPositive() ? digits : L"-" + digits));
        if (start == end)
            Require(digits.size() <= (lengthBefore > 20 ? lengthBefore : 20));
        Require(digits.find(L'.') == digits.rfind(L'.'));
        Require(digits == L"0" || digits[0] != L'0' || digits.compare(0, 2, L"0.") == 0);
        double read = 1.0;
        const double value = entry.Value();
        Require(ParseNumber(entry.Text(), read) && std::memcmp(&read, &value, sizeof read) == 0);
    }
    return 0;
}
