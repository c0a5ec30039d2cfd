#include "store/FileSystem.h"

#include <windows.h>

#include <vector>

namespace FileSystem
{
bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Remove(const std::wstring& path)
{
    return ::DeleteFileW(path.c_str()) != FALSE;
}

bool MakeWritable(const std::wstring& path)
{
    // Clears read-only, hidden and system in one call; a catalogue copied from a CD or an
    // archive often arrives read-only.
    return ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_ARCHIVE) !=
           FALSE;
}

bool RefusesWrites(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE)
    {
        ::CloseHandle(file);
        return false;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT;
}

bool CopyReplacing(const std::wstring& source, const std::wstring& target)
{
    return ::CopyFileW(source.c_str(), target.c_str(), FALSE) != FALSE;
}

bool CreateDirectories(const std::wstring& path)
{
    if (::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    const auto slash = path.find_last_of(L"\\/");
    if (::GetLastError() != ERROR_PATH_NOT_FOUND || slash == std::wstring::npos || slash == 0)
        return false;
    return CreateDirectories(path.substr(0, slash)) && ::CreateDirectoryW(path.c_str(), nullptr);
}

bool SetReadOnly(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return ::SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY) != FALSE;
}

bool IsReadOnly(const std::wstring& path)
{
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool Flush(const std::wstring& path)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool ok = ::FlushFileBuffers(file) != FALSE;
    ::CloseHandle(file);
    return ok;
}

bool MoveReplacing(const std::wstring& source, const std::wstring& target)
{
    return ::MoveFileExW(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

std::wstring CreateTempDirectory()
{
    std::vector<wchar_t> buffer(MAX_PATH + 1);
    DWORD length = ::GetTempPathW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (length == 0 || length >= buffer.size())
        return std::wstring();
    std::wstring base(buffer.data(), length);
    if (base.back() != L'\\' && base.back() != L'/')
        base += L'\\';
    static unsigned counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        std::wstring path = base + L"kalvo-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                            std::to_wstring(::GetTickCount()) + L"-" + std::to_wstring(++counter);
        if (::CreateDirectoryW(path.c_str(), nullptr))
            return path;
        if (::GetLastError() != ERROR_ALREADY_EXISTS)
            return std::wstring();
    }
    return std::wstring();
}

bool RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW((path + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return ::RemoveDirectoryW(path.c_str()) != FALSE;
    bool ok = true;
    do
    {
        std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        std::wstring child = path + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        {
            ok = RemoveTree(child) && ok;
        }
        else
        {
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            ok = ::DeleteFileW(child.c_str()) != FALSE && ok;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return ::RemoveDirectoryW(path.c_str()) != FALSE && ok;
}

wchar_t PathSeparator()
{
    return L'\\';
}
} // namespace FileSystem
