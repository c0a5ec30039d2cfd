#include "StoreTestSupport.h"

#include "store/DaoException.h"
#include "store/DatabaseFile.h"
#include "store/FileSystem.h"
#include "store/Utf8.h"

#include <sqlite3.h>

namespace
{
class DatabaseFile : public ::testing::Test
{
protected:
    std::wstring Base(const std::wstring& name = L"Kalvo") const { return m_dir.File(name); }

    std::int64_t UnitCount(const std::wstring& path)
    {
        CDaoDatabase db;
        db.Open(path);
        return QueryInt(db.Handle(), "SELECT count(*) FROM Units");
    }

    TempDir m_dir;
};

TEST_F(DatabaseFile, UsesTheMdbWhenItIsTheOnlyCatalogue)
{
    CreateSampleCatalogue(Base() + L".mdb");
    EXPECT_EQ(ChooseDatabasePath(Base()), Base() + L".mdb");
    EXPECT_FALSE(FileExists(Base() + L".dat"));
}

TEST_F(DatabaseFile, PrefersTheDatAndLeavesTheMdbAlone)
{
    CreateSampleCatalogue(Base() + L".mdb");
    CreateSampleCatalogue(Base() + L".dat");
    const std::string mdb = ReadBytes(Base() + L".mdb");
    EXPECT_EQ(ChooseDatabasePath(Base()), Base() + L".dat");
    EXPECT_EQ(ReadBytes(Base() + L".mdb"), mdb);
}

TEST_F(DatabaseFile, FollowsTheProgramsName)
{
    CreateSampleCatalogue(Base(L"Kalvo") + L".dat");
    CreateSampleCatalogue(Base(L"Rechner") + L".mdb");
    EXPECT_EQ(ChooseDatabasePath(Base(L"Rechner")), Base(L"Rechner") + L".mdb");
    EXPECT_EQ(ChooseDatabasePath(Base(L"Nothing")), Base(L"Nothing") + L".mdb");
    EXPECT_FALSE(FileExists(Base(L"Nothing") + L".mdb"));
}

TEST_F(DatabaseFile, ReadOnlyCataloguesAreMadeWritable)
{
    CreateSampleCatalogue(Base() + L".dat");
    CreateSampleCatalogue(Base() + L".mdb");
    ASSERT_TRUE(FileSystem::SetReadOnly(Base() + L".dat"));
    ASSERT_TRUE(FileSystem::SetReadOnly(Base() + L".mdb"));
    ASSERT_TRUE(FileSystem::IsReadOnly(Base() + L".dat"));

    const std::wstring path = ChooseDatabasePath(Base());
    EXPECT_FALSE(FileSystem::IsReadOnly(Base() + L".dat"));
    EXPECT_FALSE(FileSystem::IsReadOnly(Base() + L".mdb"));
    CDaoDatabase db;
    db.Open(path);
    db.Execute(L"UPDATE Units SET Note = 'written'");
    EXPECT_EQ(QueryInt(db.Handle(), "SELECT count(*) FROM Units WHERE Note = 'written'"), 6);
}

TEST_F(DatabaseFile, RestoresAnOrphanedCopyThatPassesTheIntegrityCheck)
{
    CreateSampleCatalogue(Base() + L".dat.tmp");
    CreateSampleCatalogue(Base() + L".mdb");
    const std::string copy = ReadBytes(Base() + L".dat.tmp");

    EXPECT_EQ(ChooseDatabasePath(Base()), Base() + L".dat");
    EXPECT_FALSE(FileExists(Base() + L".dat.tmp"));
    EXPECT_FALSE(FileExists(Base() + L".dat.tmp-wal"));
    EXPECT_FALSE(FileExists(Base() + L".dat.tmp-shm"));
    EXPECT_EQ(ReadBytes(Base() + L".dat"), copy);
    EXPECT_EQ(UnitCount(Base() + L".dat"), 6);
}

TEST_F(DatabaseFile, LeavesABrokenOrUnneededCopyWhereItIs)
{
    const std::string garbage(5000, 'g');
    WriteBytes(Base() + L".dat.tmp", garbage);
    WriteBytes(Base() + L".mdb.tmp", std::string()); // empty: no catalogue in it
    EXPECT_EQ(ChooseDatabasePath(Base()), Base() + L".mdb");
    EXPECT_EQ(ReadBytes(Base() + L".dat.tmp"), garbage);
    EXPECT_TRUE(FileExists(Base() + L".mdb.tmp"));
    EXPECT_FALSE(FileExists(Base() + L".dat"));
    EXPECT_FALSE(FileExists(Base() + L".mdb"));

    // Nor is a valid copy restored under a log that the lost file left behind.
    CreateSampleCatalogue(Base() + L".dat.tmp2");
    FileSystem::MoveReplacing(Base() + L".dat.tmp2", Base() + L".dat.tmp");
    WriteBytes(Base() + L".dat-wal", "stale log");
    EXPECT_EQ(ChooseDatabasePath(Base()), Base() + L".mdb");
    EXPECT_TRUE(FileExists(Base() + L".dat.tmp"));

    // With the catalogue in place a valid copy is not used either.
    FileSystem::Remove(Base() + L".mdb.tmp");
    CreateSampleCatalogue(Base() + L".mdb");
    CreateSampleCatalogue(Base() + L".mdb.tmp");
    {
        CDaoDatabase db;
        db.Open(Base() + L".mdb.tmp");
        db.Execute(L"DELETE FROM Units");
    }
    ChooseDatabasePath(Base());
    EXPECT_EQ(UnitCount(Base() + L".mdb"), 6);
    EXPECT_TRUE(FileExists(Base() + L".mdb.tmp"));
}

TEST_F(DatabaseFile, CompactionShrinksTheFileAndKeepsEveryRow)
{
    const std::wstring path = Base() + L".dat";
    CreateSampleCatalogue(path);
    WriteBytes(path + L".tmp", "stale copy from an earlier run");
    {
        CDaoDatabase db;
        db.Open(path);
        db.Execute(L"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 500)"
                   L" INSERT INTO Units (UnitName, CategoryId, Note)"
                   L" SELECT 'scratch', 9, printf('%.250c', 'x') FROM n;"
                   L"DELETE FROM Units WHERE CategoryId = 9;");
    }
    const std::size_t before = ReadBytes(path).size();

    EXPECT_TRUE(CompactDatabaseFile(path));
    EXPECT_LT(ReadBytes(path).size(), before);
    EXPECT_FALSE(FileExists(path + L".tmp"));
    EXPECT_FALSE(FileExists(path + L"-wal"));
    EXPECT_EQ(UnitCount(path), 6);
}

TEST_F(DatabaseFile, CompactionKeepsChangesLeftInTheLogOfAKilledProcess)
{
    const std::wstring path = Base() + L".dat";
    CreateSampleCatalogue(path);
    {
        // Closing without a checkpoint leaves the committed rows only in -wal, as a killed
        // process would.
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open_v2(ToUtf8(path).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr),
                  SQLITE_OK);
        sqlite3_db_config(db, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        ASSERT_EQ(sqlite3_exec(db,
                               "PRAGMA journal_mode=WAL; INSERT INTO Units (UnitName) VALUES"
                               " ('from the log'), ('also from the log');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
    }
    ASSERT_TRUE(FileExists(path + L"-wal"));

    EXPECT_TRUE(CompactDatabaseFile(path));
    EXPECT_FALSE(FileExists(path + L"-wal"));
    EXPECT_FALSE(FileExists(path + L"-shm"));
    EXPECT_EQ(UnitCount(path), 8);
}

TEST_F(DatabaseFile, CompactionSkipsAFileThatIsOpenElsewhere)
{
    const std::wstring path = Base() + L".dat";
    CreateSampleCatalogue(path);
    CDaoDatabase elsewhere;
    elsewhere.Open(path);
    elsewhere.Execute(L"INSERT INTO Units (UnitName) VALUES ('written elsewhere')");

    EXPECT_FALSE(CompactDatabaseFile(path));
    EXPECT_FALSE(FileExists(path + L".tmp"));
    // The other connection goes on working with the file it has.
    elsewhere.Execute(L"INSERT INTO Units (UnitName) VALUES ('written after')");
    EXPECT_EQ(QueryInt(elsewhere.Handle(), "SELECT count(*) FROM Units"), 8);
    elsewhere.Close();
    EXPECT_EQ(UnitCount(path), 8);
}

TEST_F(DatabaseFile, CompactionGivesUpQuietlyOnMissingOrForeignFiles)
{
    const std::wstring missing = Base(L"missing") + L".dat";
    EXPECT_FALSE(CompactDatabaseFile(missing));
    EXPECT_FALSE(FileExists(missing));
    EXPECT_FALSE(FileExists(missing + L".tmp"));
    // A copy that recovery declined may be the only one left: it is not compaction's to delete.
    WriteBytes(missing + L".tmp", "the last copy");
    EXPECT_FALSE(CompactDatabaseFile(missing));
    EXPECT_EQ(ReadBytes(missing + L".tmp"), "the last copy");

    const std::wstring garbage = Base() + L".dat";
    WriteBytes(garbage, std::string(4096, 'z'));
    EXPECT_FALSE(CompactDatabaseFile(garbage));
    EXPECT_EQ(ReadBytes(garbage), std::string(4096, 'z'));
    EXPECT_FALSE(FileExists(garbage + L".tmp"));
}
} // namespace
