// Any Location header value a server may send: a split address must be one a request can be
// made from, taken from the text itself, and split the same way again when written out.
#include "framework/url/UrlParts.h"

#include "tests/Checks.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
bool Same(const std::optional<UrlParts>& a, const std::optional<UrlParts>& b)
{
    if (a.has_value() != b.has_value())
        return false;
    return !a || (a->scheme == b->scheme && a->server == b->server && a->object == b->object &&
                  a->port == b->port);
}

bool HasControl(const std::wstring& text)
{
    for (wchar_t c : text)
        if (c < 0x20 || c == 0x7F)
            return true;
    return false;
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The header's bytes as WinINet hands them over: one character each.
    const std::wstring url(data, data + size);
    const std::optional<UrlParts> parts = SplitUrl(url);

    // The blanks a header line carries around its value change nothing.
    Require(Same(SplitUrl(L" \t" + url + L"\r\n"), parts));
    if (!parts)
        return 0;

    Require(!parts->server.empty() && parts->server.size() <= kMaxUrlHostLength);
    Require(parts->server.find_first_of(L"/?#@ ") == std::wstring::npos);
    Require(!HasControl(parts->server) && !HasControl(parts->object));
    Require(!parts->object.empty() && parts->object[0] == L'/');
    if (parts->scheme != UrlScheme::Other)
        Require(parts->port != 0);

    // Both come from the text: the server inside it, the object at its very end (but for the
    // "/" put in front of a bare query or fragment), after the server.
    const std::size_t server = url.find(parts->server);
    Require(server != std::wstring::npos);
    std::size_t last = url.size();
    while (last > 0 && (url[last - 1] == L' ' || url[last - 1] == L'\t' || url[last - 1] == L'\r' ||
                        url[last - 1] == L'\n'))
        --last;
    const std::wstring text = url.substr(0, last);
    Require(EndsWith(text, parts->object) || EndsWith(text, parts->object.substr(1)));

    // Written out in full, the address splits into the same parts.
    if (parts->scheme != UrlScheme::Other)
    {
        const std::wstring scheme = parts->scheme == UrlScheme::Http ? L"http" : L"https";
        const std::wstring canonical = scheme + L"://" + parts->server + L":" +
                                       std::to_wstring(parts->port) + parts->object;
        Require(Same(SplitUrl(canonical), parts));
    }
    return 0;
}
