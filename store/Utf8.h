#pragma once

#include <string>

// SQLite speaks UTF-8; the program speaks wide strings. wchar_t is UTF-16 on Windows and
// UTF-32 elsewhere, so both conversions handle either width. Malformed input (a stray
// surrogate, a truncated or overlong UTF-8 sequence) becomes U+FFFD instead of failing.
std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const char* text, std::size_t length);
std::wstring FromUtf8(const std::string& text);
