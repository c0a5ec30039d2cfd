#include "store/DatabaseFile.h"

#include "store/DaoDatabase.h"
#include "store/DaoException.h"
#include "store/FileSystem.h"
#include "store/SqliteCall.h"
#include "store/Utf8.h"

#include <new>

namespace
{
const wchar_t kTempSuffix[] = L".tmp";

// Opened read-write (but only read): for a copy in WAL mode, closing the connection then
// folds any log into the file and removes -wal and -shm, so the file alone can be moved.
bool PassesIntegrityCheck(const std::wstring& path)
{
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(ToUtf8(path).c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    Connection db(raw);
    if (rc != SQLITE_OK)
        return false;
    try
    {
        // An empty or truncated file can pass the check as an empty database.
        Statement tables = PrepareStatement(
            db.get(), "SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name IN "
                      "('Category', 'Units')");
        if (!StepRow(db.get(), tables.get()) || sqlite3_column_int(tables.get(), 0) != 2)
            return false;
        Statement check = PrepareStatement(db.get(), "PRAGMA integrity_check(1)");
        return StepRow(db.get(), check.get()) && ColumnText(check.get(), 0) == L"ok";
    }
    catch (const CDaoException&)
    {
        return false;
    }
}

std::wstring FileName(const std::wstring& path)
{
    const auto slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// Through a temporary name, so that a copy cut short is never taken for the catalogue. A
// log beside the original holds committed changes, so it goes along.
bool CopyCatalogue(const std::wstring& source, const std::wstring& target)
{
    const std::wstring partial = target + kTempSuffix;
    FileSystem::Remove(target + L"-wal");
    FileSystem::Remove(target + L"-shm");
    bool ok = FileSystem::CopyReplacing(source, partial);
    if (ok && FileSystem::Exists(source + L"-wal"))
        ok = FileSystem::CopyReplacing(source + L"-wal", target + L"-wal");
    if (ok)
        ok = FileSystem::MoveReplacing(partial, target);
    if (!ok)
    {
        FileSystem::Remove(partial);
        FileSystem::Remove(target + L"-wal");
    }
    return ok;
}

void RecoverFromCopy(const std::wstring& path)
{
    const std::wstring copy = path + kTempSuffix;
    // A log left beside the missing file belongs to the file that is gone; SQLite would
    // replay it into the copy, so nothing is restored while it is there.
    if (FileSystem::Exists(path) || !FileSystem::Exists(copy) || FileSystem::Exists(path + L"-wal"))
        return;
    if (PassesIntegrityCheck(copy) && !FileSystem::Exists(copy + L"-wal") &&
        !FileSystem::Exists(copy + L"-shm"))
        FileSystem::MoveReplacing(copy, path);
}
} // namespace

bool FileExists(const std::wstring& path)
{
    return FileSystem::Exists(path);
}

std::wstring ChooseDatabasePath(const std::wstring& basePath)
{
    const std::wstring dat = basePath + L".dat";
    const std::wstring mdb = basePath + L".mdb";
    // Recover first: a compaction killed between writing the copy and replacing the file
    // may have left the copy as the only catalogue.
    try
    {
        RecoverFromCopy(dat);
        RecoverFromCopy(mdb);
    }
    catch (const std::bad_alloc&)
    {
        // Choosing still works without recovery; opening will report what is wrong.
    }
    FileSystem::MakeWritable(dat);
    FileSystem::MakeWritable(mdb);
    return FileExists(dat) ? dat : mdb;
}

std::wstring UserCopyIfReadOnly(const std::wstring& path,
                                const std::function<std::wstring()>& userFolder)
{
    if (!FileSystem::RefusesWrites(path))
        return path;
    const std::wstring folder = userFolder();
    if (folder.empty())
        return path;
    const std::wstring copy = folder + FileSystem::PathSeparator() + FileName(path);
    if (FileExists(copy))
        return copy;
    if (!FileSystem::CreateDirectories(folder) || !CopyCatalogue(path, copy))
        return path;
    return copy;
}

bool CompactDatabaseFile(const std::wstring& path)
{
    const std::wstring temp = path + kTempSuffix;
    if (!FileExists(path))
        return false;
    FileSystem::Remove(temp);
    try
    {
        // Opening the file replays a log left by a killed process, and closing it (as the
        // only user) folds the log in and removes -wal and -shm. So they are checked only
        // afterwards: still there means another connection has the file open, and replacing
        // the file under it would lose its writes.
        CDaoDatabase::CompactDatabase(path, temp);
    }
    catch (const CDaoException&)
    {
        FileSystem::Remove(temp);
        return false;
    }
    catch (const std::bad_alloc&)
    {
        FileSystem::Remove(temp);
        return false;
    }
    // The copy reaches the disk before it replaces the catalogue: otherwise a power cut
    // right after the rename could leave neither the old file nor a whole new one.
    if (FileExists(path + L"-wal") || FileExists(path + L"-shm") || !FileSystem::Flush(temp) ||
        !FileSystem::MoveReplacing(temp, path))
    {
        FileSystem::Remove(temp);
        return false;
    }
    return true;
}
