#include "framework/url/UrlParts.h"

namespace
{
bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

bool IsControl(wchar_t c)
{
    return c < 0x20 || c == 0x7F;
}

bool IsAsciiLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z');
}

bool IsAsciiDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

bool IsSchemeChar(wchar_t c)
{
    return IsAsciiLetter(c) || IsAsciiDigit(c) || c == L'+' || c == L'-' || c == L'.';
}

bool SameLetters(const std::wstring& text, const wchar_t* lowercase)
{
    std::size_t i = 0;
    for (; lowercase[i] != L'\0'; ++i)
    {
        if (i >= text.size())
            return false;
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != lowercase[i])
            return false;
    }
    return i == text.size();
}

// Digits only, 1 to 65535; leading zeros are allowed.
std::optional<std::uint16_t> ReadPort(const std::wstring& text)
{
    unsigned long value = 0;
    for (wchar_t c : text)
    {
        if (!IsAsciiDigit(c))
            return std::nullopt;
        value = value * 10 + static_cast<unsigned long>(c - L'0');
        if (value > 65535)
            return std::nullopt;
    }
    if (value == 0)
        return std::nullopt;
    return static_cast<std::uint16_t>(value);
}
} // namespace

std::optional<UrlParts> SplitUrl(const std::wstring& url)
{
    std::size_t first = 0;
    std::size_t last = url.size();
    while (first < last && IsBlank(url[first]))
        ++first;
    while (last > first && IsBlank(url[last - 1]))
        --last;
    const std::wstring text = url.substr(first, last - first);
    for (wchar_t c : text)
        if (IsControl(c))
            return std::nullopt;

    const std::size_t colon = text.find(L':');
    if (colon == std::wstring::npos || colon == 0 || !IsAsciiLetter(text[0]))
        return std::nullopt;
    for (std::size_t i = 1; i < colon; ++i)
        if (!IsSchemeChar(text[i]))
            return std::nullopt;
    if (text.compare(colon + 1, 2, L"//") != 0)
        return std::nullopt;

    UrlParts parts;
    const std::wstring scheme = text.substr(0, colon);
    if (SameLetters(scheme, L"http"))
        parts.scheme = UrlScheme::Http;
    else if (SameLetters(scheme, L"https"))
        parts.scheme = UrlScheme::Https;

    const std::size_t authorityStart = colon + 3;
    std::size_t authorityEnd = text.find_first_of(L"/?#", authorityStart);
    if (authorityEnd == std::wstring::npos)
        authorityEnd = text.size();
    std::wstring authority = text.substr(authorityStart, authorityEnd - authorityStart);
    if (authority.find(L' ') != std::wstring::npos)
        return std::nullopt;
    const std::size_t at = authority.rfind(L'@');
    if (at != std::wstring::npos)
        authority.erase(0, at + 1); // the user name and password are not sent this way

    std::size_t hostEnd;
    if (!authority.empty() && authority[0] == L'[')
    {
        hostEnd = authority.find(L']');
        if (hostEnd == std::wstring::npos || hostEnd == 1)
            return std::nullopt;
        ++hostEnd;
        if (hostEnd < authority.size() && authority[hostEnd] != L':')
            return std::nullopt;
    }
    else
    {
        hostEnd = authority.find(L':');
        if (hostEnd == std::wstring::npos)
            hostEnd = authority.size();
    }
    parts.server = authority.substr(0, hostEnd);
    if (parts.server.empty() || parts.server.size() > kMaxUrlHostLength)
        return std::nullopt;

    if (hostEnd < authority.size() && hostEnd + 1 < authority.size())
    {
        const std::optional<std::uint16_t> port = ReadPort(authority.substr(hostEnd + 1));
        if (!port)
            return std::nullopt;
        parts.port = *port;
    }
    else if (parts.scheme == UrlScheme::Http)
    {
        parts.port = 80; // also for an empty port, "host:", which names the default
    }
    else if (parts.scheme == UrlScheme::Https)
    {
        parts.port = 443;
    }

    parts.object = text.substr(authorityEnd);
    if (parts.object.empty() || parts.object[0] != L'/')
        parts.object.insert(0, L"/");
    return parts;
}
