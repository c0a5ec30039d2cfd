#include "store/SqlNames.h"

#include "store/DaoException.h"

#include <sqlite3.h>

#include <cwctype>

namespace
{
bool IsWordChar(wchar_t c)
{
    return std::iswalnum(c) || c == L'_';
}

// Brackets and double or back quotes hold names; single quotes hold strings.
bool OpensName(wchar_t c)
{
    return c == L'[' || c == L'"' || c == L'`';
}

wchar_t Closing(wchar_t opening)
{
    return opening == L'[' ? L']' : opening;
}

// Just past the bracket or quote that closes the one at `open`; the end when none does.
std::size_t PastQuoted(const std::wstring& sql, std::size_t open)
{
    const std::size_t close = sql.find(Closing(sql[open]), open + 1);
    return close == std::wstring::npos ? sql.size() : close + 1;
}

std::size_t WordEnd(const std::wstring& sql, std::size_t start)
{
    std::size_t end = start;
    while (end < sql.size() && IsWordChar(sql[end]))
        ++end;
    return end;
}

bool IsFromKeyword(const std::wstring& sql, std::size_t start, std::size_t end)
{
    return end - start == 4 && std::towupper(sql[start]) == L'F' &&
           std::towupper(sql[start + 1]) == L'R' && std::towupper(sql[start + 2]) == L'O' &&
           std::towupper(sql[start + 3]) == L'M';
}

// The name that starts at `start`, bracketed or quoted or a bare word; empty when there is
// none or its closing bracket is missing.
std::wstring NameAt(const std::wstring& sql, std::size_t start)
{
    if (start >= sql.size())
        return std::wstring();
    if (OpensName(sql[start]))
    {
        const std::size_t close = sql.find(Closing(sql[start]), start + 1);
        if (close == std::wstring::npos)
            return std::wstring();
        return sql.substr(start, close + 1 - start);
    }
    return sql.substr(start, WordEnd(sql, start) - start);
}
} // namespace

std::wstring TableOf(const std::wstring& sql)
{
    std::size_t i = 0;
    while (i < sql.size())
    {
        if (OpensName(sql[i]) || sql[i] == L'\'')
        {
            i = PastQuoted(sql, i);
            continue;
        }
        if (!IsWordChar(sql[i]))
        {
            ++i;
            continue;
        }
        const std::size_t end = WordEnd(sql, i);
        if (IsFromKeyword(sql, i, end))
        {
            // Only the first FROM counts: a query that names no table there names none.
            std::size_t name = end;
            while (name < sql.size() && std::iswspace(sql[name]))
                ++name;
            std::wstring table = NameAt(sql, name);
            if (table.empty())
                break;
            return table;
        }
        i = end;
    }
    throw CDaoException(SQLITE_ERROR, L"No table named after FROM in: " + sql);
}

std::wstring Unquoted(const std::wstring& name)
{
    if (name.size() >= 2 && OpensName(name.front()))
        return name.substr(1, name.size() - 2);
    return name;
}

bool SameName(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i]))
            return false;
    return true;
}
