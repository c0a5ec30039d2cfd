#pragma once

#include <windows.h>

#include <exception>
#include <string>

// A file that could not be opened, read or written: what went wrong, the system's error code
// and the file's name.
class CFileException : public std::exception
{
public:
    enum Cause
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        accessDenied,
        diskFull,
        endOfFile
    };

    CFileException(Cause cause, DWORD osError, std::wstring fileName)
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName))
    {
    }

    // The cause that fits a GetLastError() code.
    static Cause OsErrorToCause(DWORD osError)
    {
        switch (osError)
        {
        case ERROR_FILE_NOT_FOUND:
            return fileNotFound;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
        case ERROR_BAD_PATHNAME:
            return badPath;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_WRITE_PROTECT:
            return accessDenied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return diskFull;
        default:
            return genericException;
        }
    }

    // Thrown with the cause taken from GetLastError().
    [[noreturn]] static void ThrowOsError(const std::wstring& fileName)
    {
        const DWORD error = ::GetLastError();
        throw CFileException(OsErrorToCause(error), error, fileName);
    }

    const char* what() const noexcept override { return "A file could not be accessed."; }

    Cause m_cause;
    DWORD m_lOsError;
    std::wstring m_strFileName;
};
