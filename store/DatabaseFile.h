#pragma once

#include <functional>
#include <string>

// Finding, repairing and compacting the catalogue file beside the program.

// True when the file's status can be read.
bool FileExists(const std::wstring& path);

// basePath is the program's path without its extension (e.g. C:\Apps\Kalvo). Restores a
// catalogue that an interrupted compaction left only as its ".tmp" copy (when the copy
// passes SQLite's integrity check), makes both candidate files writable, and returns the
// ".dat" file if there is one, else the ".mdb" file.
std::wstring ChooseDatabasePath(const std::wstring& basePath);

// The catalogue to use when the one at path (beside the program) exists but this process may
// not write it, as in a protected program folder: a copy of it in the folder userFolder()
// names (asked only then), under the same file name, made once and used from then on while
// path stays read-only. Returns path when it is writable or missing, or when no copy can be
// made (opening it then reports why).
std::wstring UserCopyIfReadOnly(const std::wstring& path,
                                const std::function<std::wstring()>& userFolder);

// Rewrites the file compacted, through path + ".tmp" and an atomic replace. Returns false,
// leaving the file as it was, when the file is missing, still open elsewhere, or anything
// fails; never reports an error of its own.
bool CompactDatabaseFile(const std::wstring& path);
