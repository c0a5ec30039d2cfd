#include "store/FileSystem.h"

#include "store/Utf8.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

namespace FileSystem
{
bool Exists(const std::wstring& path)
{
    struct stat st;
    return ::stat(ToUtf8(path).c_str(), &st) == 0;
}

bool Remove(const std::wstring& path)
{
    return ::unlink(ToUtf8(path).c_str()) == 0;
}

bool MakeWritable(const std::wstring& path)
{
    std::string native = ToUtf8(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0)
        return false;
    if (st.st_mode & S_IWUSR)
        return true;
    return ::chmod(native.c_str(), (st.st_mode & 07777) | S_IWUSR) == 0;
}

bool RefusesWrites(const std::wstring& path)
{
    const int fd = ::open(ToUtf8(path).c_str(), O_RDWR);
    if (fd >= 0)
    {
        ::close(fd);
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

bool CopyReplacing(const std::wstring& source, const std::wstring& target)
{
    std::FILE* in = std::fopen(ToUtf8(source).c_str(), "rb");
    if (!in)
        return false;
    std::FILE* out = std::fopen(ToUtf8(target).c_str(), "wb");
    bool ok = out != nullptr;
    std::vector<char> buffer(1 << 16);
    while (ok)
    {
        const size_t n = std::fread(buffer.data(), 1, buffer.size(), in);
        if (n == 0)
        {
            ok = !std::ferror(in);
            break;
        }
        ok = std::fwrite(buffer.data(), 1, n, out) == n;
    }
    std::fclose(in);
    if (out && std::fclose(out) != 0)
        ok = false;
    return ok;
}

bool CreateDirectories(const std::wstring& path)
{
    const std::string native = ToUtf8(path);
    if (::mkdir(native.c_str(), 0777) == 0 || errno == EEXIST)
        return true;
    const auto slash = path.find_last_of(L'/');
    if (errno != ENOENT || slash == std::wstring::npos || slash == 0)
        return false;
    return CreateDirectories(path.substr(0, slash)) && ::mkdir(native.c_str(), 0777) == 0;
}

bool SetReadOnly(const std::wstring& path)
{
    std::string native = ToUtf8(path);
    struct stat st;
    if (::stat(native.c_str(), &st) != 0)
        return false;
    return ::chmod(native.c_str(), (st.st_mode & 07777) & ~(S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool IsReadOnly(const std::wstring& path)
{
    struct stat st;
    return ::stat(ToUtf8(path).c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
}

namespace
{
bool Sync(const std::string& path, int flags)
{
    const int fd = ::open(path.c_str(), flags);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
} // namespace

bool Flush(const std::wstring& path)
{
    return Sync(ToUtf8(path), O_RDONLY);
}

bool MoveReplacing(const std::wstring& source, const std::wstring& target)
{
    const std::string native = ToUtf8(target);
    if (std::rename(ToUtf8(source).c_str(), native.c_str()) != 0)
        return false;
    // The new name is durable once its folder is synced; the rename has happened either way.
    const auto slash = native.find_last_of('/');
    Sync(slash == std::string::npos ? "." : native.substr(0, slash + 1), O_RDONLY | O_DIRECTORY);
    return true;
}

std::wstring CreateTempDirectory()
{
    const char* base = ::getenv("TMPDIR");
    std::string pattern =
        std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/kalvo-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr)
        return std::wstring();
    return FromUtf8(std::string(buffer.data()));
}

bool RemoveTree(const std::wstring& path)
{
    std::string native = ToUtf8(path);
    DIR* dir = ::opendir(native.c_str());
    if (dir == nullptr)
        return ::unlink(native.c_str()) == 0;
    bool ok = true;
    std::vector<std::string> names;
    while (dirent* entry = ::readdir(dir))
    {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    for (const std::string& name : names)
    {
        std::string child = native + "/" + name;
        struct stat st;
        if (::lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            ok = RemoveTree(FromUtf8(child)) && ok;
        else
            ok = ::unlink(child.c_str()) == 0 && ok;
    }
    return ::rmdir(native.c_str()) == 0 && ok;
}

wchar_t PathSeparator()
{
    return L'/';
}
} // namespace FileSystem
