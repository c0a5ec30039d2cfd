#pragma once
// Text forms of numbers that come out the same on every C runtime.
#include <string>

// The text of an infinity or NaN, the same in every list, tooltip and on the clipboard.
std::wstring NonFiniteText(double value);

// C's "%.*g" as the classic Windows runtime wrote it: the exponent carries a sign and at
// least three digits ("1e-007"). Non-finite values (from zero factors) read "inf", "-inf"
// and "nan": unlike the runtime's "1.#INF", no reader takes them for a number.
std::wstring FormatGeneral(double value, int precision);

// "%lg": six significant digits.
inline std::wstring FormatLg(double value) { return FormatGeneral(value, 6); }
