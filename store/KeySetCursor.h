#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

// The walk over a dynaset's keys, in the order its query gave them. Landing on a key reads its
// record through the Probe a move is given; a key whose record the probe no longer finds is
// remembered as gone and skipped by every later move. Knows nothing of how records are stored.
class CKeySetCursor
{
public:
    // Reads, or only looks for, the record of a key; false when it no longer exists.
    using Probe = std::function<bool(std::int64_t key)>;

    // A new key set, on no record until a move.
    void Reset(std::vector<std::int64_t> keys);
    // A record added through the set joins the end; an empty set now has a record after it.
    void Append(std::int64_t key);

    // Each lands on the first record not gone in its direction, or past that end.
    void First(const Probe& read);
    void Last(const Probe& read);
    void Next(const Probe& read);
    void Prev(const Probe& read);
    // Onto the first record with the key; false, and not moved, when it has none.
    bool Seek(std::int64_t key, const Probe& read);
    // Onto the record at a 0-based place among those not gone; false, and not moved, when none.
    bool SeekPosition(std::int32_t position, const Probe& read);
    void MovePastEnd();
    // Reads the current record again, if on one; a record gone since leaves the cursor on its
    // key as a deleted one. True when still on a record.
    bool Reread(const Probe& read);

    bool OnRecord() const { return m_place == Place::Record; }
    bool IsBOF() const { return m_place == Place::BeforeFirst || m_place == Place::Empty; }
    bool IsEOF() const { return m_place == Place::AfterLast || m_place == Place::Empty; }
    std::int64_t CurrentKey() const { return m_keys[m_index]; }
    // After an edit wrote a new key into the current record.
    void RekeyCurrent(std::int64_t key) { m_keys[m_index] = key; }
    // After the current record was deleted: the cursor stays on its key until the next move.
    void MarkCurrentGone();

    // Asks after every key not known to be gone.
    void Recheck(const Probe& exists) const;
    std::int32_t Count() const;    // keys not known to be gone
    std::int32_t Position() const; // of the current record among those; only OnRecord()

private:
    enum class Place
    {
        Empty, // no record either way: both BOF and EOF
        BeforeFirst,
        Record,
        Deleted, // on a key whose record was just deleted
        AfterLast
    };

    bool Exists(std::size_t index, const Probe& probe) const;
    bool LandOn(std::size_t index, const Probe& read);
    void ScanForward(std::size_t from, const Probe& read);
    void ScanBackward(std::size_t from, const Probe& read);

    std::vector<std::int64_t> m_keys;
    mutable std::vector<char> m_gone; // per key: its record is known to be deleted
    Place m_place = Place::Empty;
    std::size_t m_index = 0; // into m_keys, for Record and Deleted
};
