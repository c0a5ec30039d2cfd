#pragma once

#include <string>

struct sqlite3;

// Names sort as the user's language sorts them, ignoring case: "ångström" next to "angstrom",
// not after "yard". The catalogue's text columns are declared NOCASE, a collation every SQLite
// knows, so any program can read the file; this connection replaces NOCASE with the linguistic
// order. That is safe only while no index holds a text column: such an index would be kept in
// an order other programs do not share.
void UseLinguisticNameOrder(sqlite3* db);

// Below zero, zero or above zero as left sorts before, with or after right, ignoring case.
// One backend per platform: the system's comparison on Windows, the locale of the environment
// on POSIX. Names it calls equal may still differ (case, a failed comparison).
int CompareNamesLinguistically(const std::wstring& left, const std::wstring& right);
