#pragma once
// The plain decimal text of a value, and the reading of typed or pasted numbers.
#include <string>

// Plain decimal text, no exponent, at most 17 significant digits; n = width - 2 digits
// are produced and a value whose integer part needs n or more of them reads "0".
// Infinities and NaN read "inf", "-inf" and "nan", as in the lists.
std::wstring FormatValue(double value, int width);

// Reads a decimal number from the start of the text: leading white space, an optional
// sign, digits with "." as the point whatever the locale, an optional exponent. No hex,
// no "inf" or "nan" words; overflow gives an infinity. `value` is 0.0 when nothing is
// read. True when the part read holds a digit.
bool ParseNumber(const std::wstring& text, double& value);
