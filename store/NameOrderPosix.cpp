#include "store/NameOrder.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

namespace
{
// The locale the environment names (LC_ALL, LC_COLLATE, LANG), read once; the program's own
// C locale is left alone. Without one, names sort by code point.
locale_t UsersLocale()
{
    static const locale_t users = []
    {
        locale_t locale = newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "", locale_t{});
        return locale != locale_t{}
                   ? locale
                   : newlocale(LC_COLLATE_MASK | LC_CTYPE_MASK, "C.UTF-8", locale_t{});
    }();
    return users;
}

std::wstring Lowered(std::wstring text, locale_t locale)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower_l(static_cast<wint_t>(c), locale));
    return text;
}
} // namespace

int CompareNamesLinguistically(const std::wstring& left, const std::wstring& right)
{
    const locale_t locale = UsersLocale();
    if (locale == locale_t{})
        return 0;
    // wcscoll stops at a null character; a name holds none.
    return wcscoll_l(Lowered(left, locale).c_str(), Lowered(right, locale).c_str(), locale);
}
