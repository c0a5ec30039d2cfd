#pragma once
// The parts of an absolute web address that a request needs. Split by hand, without any
// system library, so that the same rules run, and are tested, on every platform.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

enum class UrlScheme
{
    Http,
    Https,
    Other
};

struct UrlParts
{
    UrlScheme scheme = UrlScheme::Other;
    std::wstring server;    // the host as written (an IPv6 address keeps its brackets)
    std::wstring object;    // path, query and fragment; "/" when the address has none
    std::uint16_t port = 0; // as written, else 80 or 443; 0 for other schemes without one
};

// Longer host names are refused rather than cut (WinINet's limit).
constexpr std::size_t kMaxUrlHostLength = 256;

// Splits scheme://[user[:password]@]host[:port][/path][?query][#fragment]. Blanks, tabs, CR
// and LF around the text are ignored: a header value cut at its line feed keeps its CR.
// Nothing when there is no scheme, no "//", no host, a port that is not 1 to 65535, a blank
// in the host part, or a control character anywhere (it would end up in a request line).
std::optional<UrlParts> SplitUrl(const std::wstring& url);
