#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// The member types DoFieldExchange can bind to a column.
enum class FieldType
{
    Long,
    Text,
    Bool,
    Double
};

struct BoundField
{
    std::wstring column; // as written in the select list, e.g. L"[UnitName]"
    FieldType type;
    void* member;
};

// A member's value set aside, to compare the member with later or to give back to it.
struct FieldValue
{
    std::uint64_t bits = 0; // Long, Bool, or a double's bit pattern: NaN and -0.0 compare exactly
    std::wstring text;

    bool operator==(const FieldValue& other) const
    {
        return bits == other.bits && text == other.text;
    }
    bool operator!=(const FieldValue& other) const { return !(*this == other); }
};

// The members of one record set, in the order of its select list, with what is known of each
// one's NULL. The one place that knows how each member type is read from a column, bound to a
// parameter, kept as a FieldValue and made NULL: Long and Bool members cannot be NULL, a
// double is NULL while it holds NaN, and text is NULL while it stays empty after SetNull
// (empty text is also a value of its own).
class CBoundFields
{
public:
    using Mask = std::uint64_t;                  // one bit per field, by index
    static constexpr std::size_t kMaxCount = 64; // one bit each in a Mask
    static Mask Bit(std::size_t index) { return Mask{1} << index; }

    CBoundFields() = default;
    explicit CBoundFields(std::vector<BoundField> fields);

    bool Empty() const { return m_fields.empty(); }
    std::size_t Count() const { return m_fields.size(); }
    const std::wstring& Column(std::size_t index) const { return m_fields[index].column; }
    // The first field bound to the member; Count() when none is.
    std::size_t IndexOf(const void* member) const;
    // The first field holds the table's integer key.
    std::int64_t Key() const;

    FieldValue Capture(std::size_t index) const;
    void Assign(std::size_t index, const FieldValue& value);
    // What the member holds when its column is NULL: 0, false, NaN or empty text.
    FieldValue ValueOfNull(std::size_t index) const;
    // A column of stmt's current row as the member would hold it.
    FieldValue ValueOfColumn(std::size_t index, sqlite3_stmt* stmt, int column) const;

    // Reads the current row of stmt, whose columns are the fields in order, into the members.
    void Read(sqlite3_stmt* stmt);
    // Binds the member, or NULL when WritesNull; throws on failure.
    void Bind(std::size_t index, sqlite3* db, sqlite3_stmt* stmt, int parameter) const;

    // Whether the column was NULL when last read, or when last written through this set.
    bool WasNull(std::size_t index) const { return m_wasNull[index] != 0; }
    // A new record's members have no value of their own yet.
    void NoteAllNull();
    void NoteWritten(Mask written);

    // Empties text or makes a double NaN; false for a type that cannot be NULL.
    bool SetNull(std::size_t index);
    // Forgets what SetNull marked, at the start and end of each edit.
    void ClearNullMarks();
    // Text made NULL by SetNull and still empty.
    bool IsMarkedNull(std::size_t index) const;
    // Text marked NULL, or a double holding NaN.
    bool WritesNull(std::size_t index) const;

private:
    std::vector<BoundField> m_fields;
    std::vector<char> m_wasNull;
    std::vector<char> m_nullMarks; // text members SetNull made NULL during this edit
};
