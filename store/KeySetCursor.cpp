#include "store/KeySetCursor.h"

#include <algorithm>
#include <utility>

void CKeySetCursor::Reset(std::vector<std::int64_t> keys)
{
    m_keys = std::move(keys);
    m_gone.assign(m_keys.size(), 0);
    m_place = Place::Empty;
}

void CKeySetCursor::Append(std::int64_t key)
{
    m_keys.push_back(key);
    m_gone.push_back(0);
    if (m_place == Place::Empty)
        m_place = Place::AfterLast;
}

// A key is marked gone the first time its record is missing, and costs no lookup after.
bool CKeySetCursor::Exists(std::size_t index, const Probe& probe) const
{
    if (m_gone[index])
        return false;
    if (probe(m_keys[index]))
        return true;
    m_gone[index] = 1;
    return false;
}

bool CKeySetCursor::LandOn(std::size_t index, const Probe& read)
{
    if (!Exists(index, read))
        return false;
    m_place = Place::Record;
    m_index = index;
    return true;
}

void CKeySetCursor::ScanForward(std::size_t from, const Probe& read)
{
    for (std::size_t i = from; i < m_keys.size(); ++i)
        if (LandOn(i, read))
            return;
    m_place = Place::AfterLast;
}

void CKeySetCursor::ScanBackward(std::size_t from, const Probe& read)
{
    for (std::size_t i = from; i-- > 0;)
        if (LandOn(i, read))
            return;
    m_place = Place::BeforeFirst;
}

void CKeySetCursor::First(const Probe& read)
{
    ScanForward(0, read);
    if (m_place == Place::AfterLast)
        m_place = Place::Empty;
}

void CKeySetCursor::Last(const Probe& read)
{
    ScanBackward(m_keys.size(), read);
    if (m_place == Place::BeforeFirst)
        m_place = Place::Empty;
}

void CKeySetCursor::Next(const Probe& read)
{
    switch (m_place)
    {
    case Place::BeforeFirst:
        ScanForward(0, read);
        break;
    case Place::Record:
    case Place::Deleted:
        ScanForward(m_index + 1, read);
        break;
    case Place::Empty:
    case Place::AfterLast:
        break;
    }
}

void CKeySetCursor::Prev(const Probe& read)
{
    switch (m_place)
    {
    case Place::AfterLast:
        ScanBackward(m_keys.size(), read);
        break;
    case Place::Record:
    case Place::Deleted:
        ScanBackward(m_index, read);
        break;
    case Place::Empty:
    case Place::BeforeFirst:
        break;
    }
}

bool CKeySetCursor::Seek(std::int64_t key, const Probe& read)
{
    const auto found = std::find(m_keys.begin(), m_keys.end(), key);
    return found != m_keys.end() && LandOn(static_cast<std::size_t>(found - m_keys.begin()), read);
}

bool CKeySetCursor::SeekPosition(std::int32_t position, const Probe& read)
{
    std::int32_t remaining = position;
    for (std::size_t i = 0; position >= 0 && i < m_keys.size(); ++i)
        if (!m_gone[i] && remaining-- == 0 && LandOn(i, read))
            return true;
    return false;
}

void CKeySetCursor::MovePastEnd()
{
    m_place = m_keys.empty() ? Place::Empty : Place::AfterLast;
}

bool CKeySetCursor::Reread(const Probe& read)
{
    if (m_place == Place::Record && !Exists(m_index, read))
        m_place = Place::Deleted;
    return m_place == Place::Record;
}

void CKeySetCursor::MarkCurrentGone()
{
    m_gone[m_index] = 1;
    m_place = Place::Deleted;
}

void CKeySetCursor::Recheck(const Probe& exists) const
{
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        Exists(i, exists);
}

std::int32_t CKeySetCursor::Count() const
{
    return static_cast<std::int32_t>(std::count(m_gone.begin(), m_gone.end(), 0));
}

std::int32_t CKeySetCursor::Position() const
{
    return static_cast<std::int32_t>(std::count(m_gone.begin(), m_gone.begin() + m_index, 0));
}
