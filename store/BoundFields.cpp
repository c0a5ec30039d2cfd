#include "store/BoundFields.h"

#include "store/SqliteCall.h"

#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

namespace
{
std::uint64_t DoubleBits(double value)
{
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

double BitsDouble(std::uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool IsNullColumn(sqlite3_stmt* stmt, int column)
{
    return sqlite3_column_type(stmt, column) == SQLITE_NULL;
}

enum class NullForm
{
    None,   // the type cannot be NULL
    Value,  // NULL while the member holds Null()
    Marked, // NULL while the member holds Null() after SetNull marked it
};

// How a member of each type moves between the member, a FieldValue and a statement, and how
// it stands for NULL. Null() is also what a NULL column reads as.
template <class T> struct Codec;

template <> struct Codec<std::int32_t>
{
    static constexpr NullForm kNullForm = NullForm::None;
    static std::int32_t Null() { return 0; }
    static std::int32_t Read(sqlite3_stmt* stmt, int column)
    {
        return static_cast<std::int32_t>(sqlite3_column_int64(stmt, column));
    }
    static void Bind(sqlite3* db, sqlite3_stmt* stmt, int parameter, std::int32_t member)
    {
        CheckSqlite(db, sqlite3_bind_int(stmt, parameter, member));
    }
    static FieldValue Pack(std::int32_t member)
    {
        return FieldValue{static_cast<std::uint32_t>(member), {}};
    }
    static std::int32_t Unpack(const FieldValue& value)
    {
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(value.bits));
    }
};

template <> struct Codec<bool>
{
    static constexpr NullForm kNullForm = NullForm::None;
    static bool Null() { return false; }
    static bool Read(sqlite3_stmt* stmt, int column)
    {
        return sqlite3_column_int64(stmt, column) != 0;
    }
    static void Bind(sqlite3* db, sqlite3_stmt* stmt, int parameter, bool member)
    {
        CheckSqlite(db, sqlite3_bind_int(stmt, parameter, member ? 1 : 0));
    }
    static FieldValue Pack(bool member) { return FieldValue{member ? 1u : 0u, {}}; }
    static bool Unpack(const FieldValue& value) { return value.bits != 0; }
};

template <> struct Codec<double>
{
    static constexpr NullForm kNullForm = NullForm::Value;
    static double Null() { return std::numeric_limits<double>::quiet_NaN(); }
    static bool IsNull(double member) { return member != member; } // any NaN, not only Null()
    static double Read(sqlite3_stmt* stmt, int column)
    {
        return IsNullColumn(stmt, column) ? Null() : sqlite3_column_double(stmt, column);
    }
    static void Bind(sqlite3* db, sqlite3_stmt* stmt, int parameter, double member)
    {
        CheckSqlite(db, sqlite3_bind_double(stmt, parameter, member));
    }
    static FieldValue Pack(double member) { return FieldValue{DoubleBits(member), {}}; }
    static double Unpack(const FieldValue& value) { return BitsDouble(value.bits); }
};

template <> struct Codec<std::wstring>
{
    static constexpr NullForm kNullForm = NullForm::Marked;
    static std::wstring Null() { return std::wstring(); }
    static bool IsNull(const std::wstring& member) { return member.empty(); }
    static std::wstring Read(sqlite3_stmt* stmt, int column) { return ColumnText(stmt, column); }
    static void Bind(sqlite3* db, sqlite3_stmt* stmt, int parameter, const std::wstring& member)
    {
        BindText(db, stmt, parameter, member);
    }
    static FieldValue Pack(const std::wstring& member) { return FieldValue{0, member}; }
    static std::wstring Unpack(const FieldValue& value) { return value.text; }
};

template <class Member> using CodecOf = Codec<std::decay_t<Member>>;

// The one switch over the field types: calls visit with the member as its own type.
template <class Visit> decltype(auto) WithMember(const BoundField& field, Visit&& visit)
{
    switch (field.type)
    {
    case FieldType::Long:
        return visit(*static_cast<std::int32_t*>(field.member));
    case FieldType::Bool:
        return visit(*static_cast<bool*>(field.member));
    case FieldType::Double:
        return visit(*static_cast<double*>(field.member));
    case FieldType::Text:
        break;
    }
    return visit(*static_cast<std::wstring*>(field.member));
}
} // namespace

CBoundFields::CBoundFields(std::vector<BoundField> fields)
    : m_fields(std::move(fields)), m_wasNull(m_fields.size(), 0), m_nullMarks(m_fields.size(), 0)
{
}

std::size_t CBoundFields::IndexOf(const void* member) const
{
    std::size_t index = 0;
    while (index < m_fields.size() && m_fields[index].member != member)
        ++index;
    return index;
}

std::int64_t CBoundFields::Key() const
{
    return *static_cast<const std::int32_t*>(m_fields[0].member);
}

FieldValue CBoundFields::Capture(std::size_t index) const
{
    return WithMember(m_fields[index],
                      [](auto& member) { return CodecOf<decltype(member)>::Pack(member); });
}

void CBoundFields::Assign(std::size_t index, const FieldValue& value)
{
    WithMember(m_fields[index],
               [&](auto& member) { member = CodecOf<decltype(member)>::Unpack(value); });
}

// Here and in ValueOfColumn the member only tells its type; its value is left alone.
FieldValue CBoundFields::ValueOfNull(std::size_t index) const
{
    return WithMember(m_fields[index],
                      [](auto& member)
                      {
                          using C = CodecOf<decltype(member)>;
                          return C::Pack(C::Null());
                      });
}

FieldValue CBoundFields::ValueOfColumn(std::size_t index, sqlite3_stmt* stmt, int column) const
{
    return WithMember(m_fields[index],
                      [&](auto& member)
                      {
                          using C = CodecOf<decltype(member)>;
                          return C::Pack(C::Read(stmt, column));
                      });
}

void CBoundFields::Read(sqlite3_stmt* stmt)
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
    {
        const int column = static_cast<int>(i);
        m_wasNull[i] = IsNullColumn(stmt, column);
        WithMember(m_fields[i],
                   [&](auto& member) { member = CodecOf<decltype(member)>::Read(stmt, column); });
    }
}

void CBoundFields::Bind(std::size_t index, sqlite3* db, sqlite3_stmt* stmt, int parameter) const
{
    if (WritesNull(index))
        CheckSqlite(db, sqlite3_bind_null(stmt, parameter));
    else
        WithMember(m_fields[index], [&](auto& member)
                   { CodecOf<decltype(member)>::Bind(db, stmt, parameter, member); });
}

void CBoundFields::NoteAllNull()
{
    m_wasNull.assign(m_fields.size(), 1);
}

void CBoundFields::NoteWritten(Mask written)
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (written & Bit(i))
            m_wasNull[i] = WritesNull(i);
}

bool CBoundFields::SetNull(std::size_t index)
{
    return WithMember(m_fields[index],
                      [&](auto& member)
                      {
                          using C = CodecOf<decltype(member)>;
                          if constexpr (C::kNullForm == NullForm::None)
                              return false;
                          else
                          {
                              member = C::Null();
                              if constexpr (C::kNullForm == NullForm::Marked)
                                  m_nullMarks[index] = 1;
                              return true;
                          }
                      });
}

void CBoundFields::ClearNullMarks()
{
    m_nullMarks.assign(m_fields.size(), 0);
}

bool CBoundFields::IsMarkedNull(std::size_t index) const
{
    return m_nullMarks[index] && WritesNull(index);
}

bool CBoundFields::WritesNull(std::size_t index) const
{
    return WithMember(m_fields[index],
                      [&](auto& member)
                      {
                          using C = CodecOf<decltype(member)>;
                          if constexpr (C::kNullForm == NullForm::None)
                              return false;
                          else if constexpr (C::kNullForm == NullForm::Marked)
                              return m_nullMarks[index] && C::IsNull(member);
                          else
                              return C::IsNull(member);
                      });
}
