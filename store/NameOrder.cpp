#include "store/NameOrder.h"

#include "store/SqliteCall.h"
#include "store/Utf8.h"

#include <algorithm>
#include <cstring>

namespace
{
int CompareBytes(int leftLength, const void* left, int rightLength, const void* right)
{
    const int common = std::min(leftLength, rightLength);
    const int order = common > 0 ? std::memcmp(left, right, static_cast<std::size_t>(common)) : 0;
    return order != 0 ? order : leftLength - rightLength;
}

// Names the language calls equal ("Metre", "metre") are ordered by their bytes, so the order
// is total and the same on every run.
int CompareNames(void*, int leftLength, const void* left, int rightLength, const void* right)
{
    try
    {
        const int order = CompareNamesLinguistically(
            FromUtf8(static_cast<const char*>(left), static_cast<std::size_t>(leftLength)),
            FromUtf8(static_cast<const char*>(right), static_cast<std::size_t>(rightLength)));
        if (order != 0)
            return order;
    }
    catch (...)
    {
        // No exception may cross the engine; out of memory, the bytes still give an order.
    }
    return CompareBytes(leftLength, left, rightLength, right);
}
} // namespace

void UseLinguisticNameOrder(sqlite3* db)
{
    CheckSqlite(db, sqlite3_create_collation(db, "NOCASE", SQLITE_UTF8, nullptr, &CompareNames));
}
