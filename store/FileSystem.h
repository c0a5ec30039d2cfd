#pragma once

#include <string>

// The file operations the store needs whose calls differ between Windows and POSIX. One
// backend is built per platform (FileSystemWin32.cpp or FileSystemPosix.cpp).
namespace FileSystem
{
// True when the path's status can be read (it exists and is reachable).
bool Exists(const std::wstring& path);

// Deletes a file; false when it could not be deleted (e.g. it was missing).
bool Remove(const std::wstring& path);

// Clears whatever stops the program writing the file: on Windows the read-only, hidden and
// system attributes, on POSIX a missing owner write permission. False if that failed.
bool MakeWritable(const std::wstring& path);

// True when the file exists but this process may not open it for writing (no permission, or
// a read-only medium or mount). A file that is merely in use elsewhere is not refused.
bool RefusesWrites(const std::wstring& path);

// Copies source to target, replacing target. False if anything failed.
bool CopyReplacing(const std::wstring& source, const std::wstring& target);

// Creates the directory and any missing parents; true when it exists afterwards.
bool CreateDirectories(const std::wstring& path);

// The opposite, for tests: marks the file read-only.
bool SetReadOnly(const std::wstring& path);
bool IsReadOnly(const std::wstring& path);

// Writes the file's data through to the disk. False if that failed.
bool Flush(const std::wstring& path);

// Renames source over target in one step, so that target is at all times either the old or
// the new file, and (on POSIX, by syncing the folder) so that the rename itself is durable.
// False (and nothing changed) on failure.
bool MoveReplacing(const std::wstring& source, const std::wstring& target);

// Creates a new, uniquely named, empty directory under the system's temporary directory and
// returns its path, or an empty string on failure.
std::wstring CreateTempDirectory();

// Deletes a directory with everything in it. False if anything was left behind.
bool RemoveTree(const std::wstring& path);

// The separator used in paths this module builds.
wchar_t PathSeparator();
} // namespace FileSystem
