#pragma once
// Text forms of numbers that come out the same on every C runtime.
#include <string>

// C's "%.*g" as the classic Windows runtime wrote it: the exponent carries a sign and at
// least three digits ("1e-007"), and non-finite values read "1.#INF", "-1.#INF", "1.#QNAN"
// or "-1.#IND" (the NaN that 0/0 yields on x86).
std::wstring FormatGeneral(double value, int precision);

// "%lg": six significant digits.
inline std::wstring FormatLg(double value) { return FormatGeneral(value, 6); }
