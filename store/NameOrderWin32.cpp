#include "store/NameOrder.h"

#include <windows.h>

int CompareNamesLinguistically(const std::wstring& left, const std::wstring& right)
{
    const int result = ::CompareStringEx(LOCALE_NAME_USER_DEFAULT, LINGUISTIC_IGNORECASE,
                                         left.data(), static_cast<int>(left.size()), right.data(),
                                         static_cast<int>(right.size()), nullptr, nullptr, 0);
    return result == 0 ? 0 : result - CSTR_EQUAL;
}
