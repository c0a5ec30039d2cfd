#pragma once

#include <string>

// The names a record set reads out of its own SQL: the table it writes to and whose column
// defaults it looks up.

// The first name after a FROM keyword outside brackets and quotes, as written there (with
// its brackets or quotes). Throws CDaoException when the SQL names no table.
std::wstring TableOf(const std::wstring& sql);

// The name without the brackets or quotes around it.
std::wstring Unquoted(const std::wstring& name);

// Table and column names compare ignoring case, as SQL compares them.
bool SameName(const std::wstring& a, const std::wstring& b);
