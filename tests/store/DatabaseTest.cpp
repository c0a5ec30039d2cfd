#include "StoreTestSupport.h"

#include "store/CatalogueSchema.h"
#include "store/DaoException.h"
#include "store/FileSystem.h"
#include "store/RecordsetCategory.h"
#include "store/Utf8.h"

#include <sqlite3.h>

namespace
{
// Opening must fail with a CDaoException and leave the file exactly as it was.
void ExpectRejectedUnchanged(const std::wstring& path)
{
    const std::string before = ReadBytes(path);
    CDaoDatabase db;
    EXPECT_THROW(db.Open(path), CDaoException);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_FALSE(FileSystem::Exists(path + L"-wal"));
    EXPECT_FALSE(FileSystem::Exists(path + L"-journal"));
}

std::size_t Be16(const std::string& bytes, std::size_t at)
{
    return (static_cast<unsigned char>(bytes[at]) << 8) | static_cast<unsigned char>(bytes[at + 1]);
}

void SetBe16(std::string& bytes, std::size_t at, std::size_t value)
{
    bytes[at] = static_cast<char>(value >> 8);
    bytes[at + 1] = static_cast<char>(value & 0xFF);
}

// Length of the SQLite varint at `at`.
std::size_t VarintLength(const std::string& bytes, std::size_t at)
{
    std::size_t n = 1;
    while (n < 9 && (static_cast<unsigned char>(bytes[at + n - 1]) & 0x80) != 0)
        ++n;
    return n;
}
} // namespace

TEST(DaoDatabase, OpenNeverCreatesAMissingFile)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CDaoDatabase db;
    try
    {
        db.Open(path);
        FAIL() << "opened a missing file";
    }
    catch (const CDaoException& e)
    {
        EXPECT_EQ(e.m_nErrorCode & 0xFF, SQLITE_CANTOPEN);
        EXPECT_FALSE(e.m_strDescription.empty());
    }
    EXPECT_FALSE(FileSystem::Exists(path));
}

TEST(DaoDatabase, OpenRejectsFilesThatAreNotCataloguesWithoutTouchingThem)
{
    TempDir dir;
    const std::wstring garbage = dir.File(L"garbage.dat");
    WriteBytes(garbage, std::string(8192, 'k') + "not a database");
    ExpectRejectedUnchanged(garbage);

    const std::wstring empty = dir.File(L"empty.dat");
    WriteBytes(empty, std::string());
    ExpectRejectedUnchanged(empty);

    // A real SQLite database, but not ours.
    const std::wstring foreign = dir.File(L"foreign.dat");
    {
        CreateCatalogue(foreign);
        CDaoDatabase db;
        db.Open(foreign);
        db.Execute(L"DROP TABLE Units");
    }
    ExpectRejectedUnchanged(foreign);

    // A catalogue whose table pages are overwritten.
    const std::wstring corrupt = dir.File(L"corrupt.dat");
    CreateSampleCatalogue(corrupt);
    std::string bytes = ReadBytes(corrupt);
    ASSERT_GT(bytes.size(), 8192u);
    for (std::size_t i = 4096; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0xA5);
    WriteBytes(corrupt, bytes);
    ExpectRejectedUnchanged(corrupt);
}

// SQLite 3.40 answers a schema record that claims 4 GiB, and a header longer than the part
// of it on the page, with "out of memory". For the program that is a damaged catalogue like
// any other, to be reported as one rather than as a lack of memory.
TEST(DaoDatabase, OpenReportsAnAbsurdRecordSizeAsDamageNotAsLackOfMemory)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateCatalogue(path);
    std::string bytes = ReadBytes(path);
    // Page 1 holds the schema table as one leaf; its cells lie after its header at 100.
    ASSERT_EQ(bytes[100], '\x0d');
    const std::size_t cells = Be16(bytes, 103);
    const std::size_t contentStart = Be16(bytes, 105);
    bool rewritten = false;
    for (std::size_t i = 0; i < cells && !rewritten; ++i)
    {
        const std::size_t cell = Be16(bytes, 108 + 2 * i);
        const std::size_t sizeLength = VarintLength(bytes, cell);
        const std::size_t keyLength = VarintLength(bytes, cell + sizeLength);
        const std::size_t payloadSize = bytes[cell] & 0x80
                                            ? ((bytes[cell] & 0x7F) << 7) | (bytes[cell + 1] & 0x7F)
                                            : static_cast<std::size_t>(bytes[cell]);
        ASSERT_LE(sizeLength, 2u);
        const std::string payload = bytes.substr(cell + sizeLength + keyLength, payloadSize);
        if (payload.find("CREATE TABLE Units") == std::string::npos)
            continue;
        // The same record in the free space before the cells, with a size of 2^32 - 1 and
        // a record header of 600 bytes in place of its one-byte length.
        ASSERT_LT(static_cast<unsigned char>(payload[0]), 0x80u);
        const std::string copy = std::string("\x8f\xff\xff\xff\x7f", 5) +
                                 bytes.substr(cell + sizeLength, keyLength) + "\x84\x58" +
                                 payload.substr(1);
        const std::size_t at = contentStart - copy.size();
        ASSERT_GT(at, 108 + 2 * cells);
        bytes.replace(at, copy.size(), copy);
        SetBe16(bytes, 108 + 2 * i, at);
        SetBe16(bytes, 105, at);
        rewritten = true;
    }
    ASSERT_TRUE(rewritten);
    WriteBytes(path, bytes);

    const std::string before = ReadBytes(path);
    CDaoDatabase db;
    try
    {
        db.Open(path);
        FAIL() << "opened a catalogue with a damaged schema";
    }
    catch (const CDaoException& e)
    {
        EXPECT_EQ(e.m_nErrorCode, SQLITE_CORRUPT);
    }
    EXPECT_FALSE(db.IsOpen());
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(DaoDatabase, OpenUsesWriteAheadLogAndSharesTheFile)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(path);
    CDaoDatabase first;
    CDaoDatabase second;
    first.Open(path);
    second.Open(path);
    EXPECT_EQ(QueryText(first.Handle(), "PRAGMA journal_mode"), "wal");
    EXPECT_EQ(QueryInt(first.Handle(), "PRAGMA synchronous"), 1); // NORMAL

    first.Execute(L"UPDATE Category SET Note = 'from first' WHERE CategoryId = 2");
    EXPECT_EQ(QueryText(second.Handle(), "SELECT Note FROM Category WHERE CategoryId = 2"),
              "from first");
}

// Rows that break the table's CHECKs (written by some other program) are data, not damage:
// the catalogue opens, and the program's own writes are still held to the CHECKs.
TEST(DaoDatabase, OpenAcceptsRowsBreakingTheChecksButKeepsEnforcingThem)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(path);
    {
        CDaoDatabase writer;
        writer.Open(path);
        writer.Execute(L"PRAGMA ignore_check_constraints = 1; "
                       L"UPDATE Category SET CategoryName = printf('%.300c', 'x'), IsSelected = 4 "
                       L"WHERE CategoryId = 2");
    }
    CDaoDatabase db;
    ASSERT_NO_THROW(db.Open(path));
    EXPECT_EQ(QueryInt(db.Handle(), "SELECT length(CategoryName) FROM Category WHERE CategoryId = 2"),
              300);
    EXPECT_THROW(db.Execute(L"UPDATE Category SET Note = printf('%.300c', 'y') WHERE CategoryId = 1"),
                 CDaoException);
}

TEST(DaoDatabase, ExecuteReportsTheEngineError)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(path);
    CDaoDatabase db;
    db.Open(path);
    try
    {
        db.Execute(L"UPDATE Category SET Note = 'a'; INSERT INTO NoSuchTable VALUES (1)");
        FAIL() << "no error";
    }
    catch (const CDaoException& e)
    {
        EXPECT_EQ(e.m_nErrorCode, SQLITE_ERROR);
        EXPECT_NE(e.m_strDescription.find(L"NoSuchTable"), std::wstring::npos);
        EXPECT_STREQ(e.what(), ToUtf8(e.m_strDescription).c_str());
    }
    // Statements before the failing one ran, each in its own transaction.
    EXPECT_EQ(QueryInt(db.Handle(), "SELECT count(*) FROM Category WHERE Note = 'a'"), 3);
}

TEST(DaoDatabase, CreateCatalogueRefusesAnExistingFile)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(path);
    const std::string before = ReadBytes(path);
    EXPECT_THROW(CreateCatalogue(path), CDaoException);
    EXPECT_EQ(ReadBytes(path), before);
}

TEST(DaoDatabase, CloseClosesTheRecordSetsOverIt)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(path);
    CDaoDatabase db;
    db.Open(path);
    CRecordsetCategory categories(&db);
    categories.Open();
    ASSERT_TRUE(categories.IsOpen());
    db.Close();
    EXPECT_FALSE(categories.IsOpen());
    EXPECT_FALSE(db.IsOpen());
    db.Close(); // again: nothing to do

    // The set can be opened again once the database is.
    db.Open(path);
    categories.Open();
    EXPECT_EQ(categories.GetRecordCount(), 3);
}

TEST(DaoDatabase, CompactDatabaseWritesAStandaloneCopy)
{
    TempDir dir;
    const std::wstring source = dir.File(L"Kalvo.dat");
    const std::wstring copy = dir.File(L"copy.dat");
    CreateSampleCatalogue(source);
    CDaoDatabase::CompactDatabase(source, copy);
    EXPECT_FALSE(FileSystem::Exists(source + L"-wal"));
    EXPECT_FALSE(FileSystem::Exists(copy + L"-wal"));

    CDaoDatabase db;
    db.Open(copy);
    EXPECT_EQ(QueryInt(db.Handle(), "SELECT count(*) FROM Units"), 6);
    EXPECT_EQ(QueryText(db.Handle(), "PRAGMA integrity_check"), "ok");
    db.Close();

    // The destination must not exist yet.
    EXPECT_THROW(CDaoDatabase::CompactDatabase(source, copy), CDaoException);
    EXPECT_THROW(CDaoDatabase::CompactDatabase(dir.File(L"missing.dat"), dir.File(L"x.dat")),
                 CDaoException);
    EXPECT_FALSE(FileSystem::Exists(dir.File(L"x.dat")));
}
