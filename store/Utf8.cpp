#include "store/Utf8.h"

namespace
{
constexpr char32_t kReplacement = 0xFFFD;

[[maybe_unused]] bool IsHighSurrogate(char32_t c)
{
    return c >= 0xD800 && c <= 0xDBFF;
}
[[maybe_unused]] bool IsLowSurrogate(char32_t c)
{
    return c >= 0xDC00 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = kReplacement;
    if (c < 0x80)
    {
        out += static_cast<char>(c);
    }
    else if (c < 0x800)
    {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else if (c < 0x10000)
    {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c)
{
    if constexpr (sizeof(wchar_t) == 2)
    {
        if (c >= 0x10000)
        {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}
} // namespace

std::string ToUtf8(const std::wstring& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2)
        {
            c &= 0xFFFF;
            if (IsHighSurrogate(c) && i + 1 < text.size() &&
                IsLowSurrogate(static_cast<char32_t>(text[i + 1]) & 0xFFFF))
            {
                char32_t low = static_cast<char32_t>(text[++i]) & 0xFFFF;
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        AppendUtf8(out, c);
    }
    return out;
}

std::wstring FromUtf8(const char* text, std::size_t length)
{
    std::wstring out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length)
    {
        unsigned char lead = p[i];
        int extra;
        char32_t c;
        char32_t minimum;
        if (lead < 0x80)
        {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        else if ((lead & 0xE0) == 0xC0)
        {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        }
        else if ((lead & 0xF0) == 0xE0)
        {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        }
        else if ((lead & 0xF8) == 0xF0)
        {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        }
        else
        {
            AppendWide(out, kReplacement);
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        for (int k = 0; k < extra; ++k, ++j)
        {
            if (j >= length || (p[j] & 0xC0) != 0x80)
                break;
            c = (c << 6) | (p[j] & 0x3F);
        }
        if (j - i != static_cast<std::size_t>(extra) + 1 || c < minimum || c > 0x10FFFF ||
            (c >= 0xD800 && c <= 0xDFFF))
        {
            // Skip only the bytes that belonged to the broken sequence.
            AppendWide(out, kReplacement);
            i = (j > i + 1) ? j : i + 1;
            continue;
        }
        AppendWide(out, c);
        i = j;
    }
    return out;
}

std::wstring FromUtf8(const std::string& text)
{
    return FromUtf8(text.data(), text.size());
}
