#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
class CDaoRecordset;

// One connection to a catalogue file. Record sets opened over it are closed with it.
class CDaoDatabase
{
public:
    CDaoDatabase() = default;
    ~CDaoDatabase();
    CDaoDatabase(const CDaoDatabase&) = delete;
    CDaoDatabase& operator=(const CDaoDatabase&) = delete;

    // Opens an existing catalogue read-write, shared with other processes; never creates a
    // file. Throws CDaoException when the file is missing, read-only, not a database, corrupt
    // or lacks the catalogue's tables; such a file is not modified.
    void Open(const std::wstring& path);
    bool IsOpen() const { return m_db != nullptr; }
    void Close();

    // Runs one or more SQL statements; throws CDaoException on the first error.
    void Execute(const std::wstring& sql);

    sqlite3* Handle() const { return m_db; }

    // The writes between BeginTrans and CommitTrans reach the file as one change; Rollback
    // undoes every one of them. BeginTrans waits for other writers as any write does.
    void BeginTrans();
    void CommitTrans();
    // Does nothing outside a transaction, and never throws: it runs on the way out of errors.
    void Rollback() noexcept;
    bool InTransaction() const;

    // Changes whenever a row may have been deleted since it was last read: on this
    // connection (every delete, and every Execute) or by another connection.
    struct DeletionStamp
    {
        std::uint64_t localDeletions;
        std::int64_t dataVersion;
        bool operator==(const DeletionStamp& other) const
        {
            return localDeletions == other.localDeletions && dataVersion == other.dataVersion;
        }
    };
    DeletionStamp CurrentDeletionStamp() const;

    // Writes a compacted, self-contained copy of source to destination (which must not
    // exist). Opening source first replays and checkpoints a write-ahead log left behind by
    // a process that was killed, so the copy holds every committed change.
    static void CompactDatabase(const std::wstring& source, const std::wstring& destination);

private:
    friend class CDaoRecordset;
    void Attach(CDaoRecordset* recordset);
    void Detach(CDaoRecordset* recordset);

    static void OnRowChange(void* self, int operation, const char*, const char*, long long);

    sqlite3* m_db = nullptr;
    std::uint64_t m_localDeletions = 0;
    std::vector<CDaoRecordset*> m_recordsets; // open sets, closed before the connection
};

// A transaction for the writes of one scope: CommitTrans keeps them, leaving the scope any
// other way (an exception included) rolls them back. Inside a transaction that is already
// open it does nothing: the outer one decides for all of its writes.
class CDaoTransaction
{
public:
    explicit CDaoTransaction(CDaoDatabase& database)
        : m_database(database), m_owner(!database.InTransaction())
    {
        if (m_owner)
            m_database.BeginTrans();
    }
    ~CDaoTransaction()
    {
        if (m_owner)
            m_database.Rollback();
    }
    CDaoTransaction(const CDaoTransaction&) = delete;
    CDaoTransaction& operator=(const CDaoTransaction&) = delete;

    void CommitTrans()
    {
        if (!m_owner)
            return;
        m_database.CommitTrans();
        m_owner = false;
    }

private:
    CDaoDatabase& m_database;
    bool m_owner;
};
