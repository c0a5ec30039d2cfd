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
