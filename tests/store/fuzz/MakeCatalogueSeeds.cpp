// Writes the catalogue seeds of the catalogue file fuzzer into the directory given: made by
// the store's own schema code, so that they always match what the program creates.
#include "tests/store/StoreTestSupport.h"

#include "store/CatalogueSchema.h"
#include "store/DatabaseFile.h"
#include "store/FileSystem.h"
#include "store/Utf8.h"

#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

namespace
{
// The sample catalogue with one category selected, compacted to a single file; with small
// pages it is a few kilobytes, where every mutation lands in some structure.
std::string Catalogue(const std::wstring& dir, const std::wstring& name, bool smallPages,
                      bool withRows)
{
    const std::wstring path = dir + FileSystem::PathSeparator() + name;
    if (withRows)
        CreateSampleCatalogue(path);
    else
        CreateCatalogue(path);
    {
        CDaoDatabase db;
        db.Open(path);
        if (withRows)
            db.Execute(L"UPDATE Category SET IsSelected = 1 WHERE CategoryId = 2;"
                       L"UPDATE Category SET SourceUnitId = 6, TargetUnitId = 5 WHERE CategoryId = 2;");
        if (smallPages)
            db.Execute(L"PRAGMA journal_mode=DELETE; PRAGMA page_size=512; VACUUM;");
    }
    if (!smallPages && !CompactDatabaseFile(path))
        throw std::runtime_error("cannot compact " + ToUtf8(path));
    return ReadBytes(path);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <output directory>\n", argv[0]);
        return 2;
    }
    try
    {
        const std::wstring out = FromUtf8(std::string(argv[1]));
        const auto file = [&](const wchar_t* name) { return out + FileSystem::PathSeparator() + name; };
        TempDir work;
        const std::string small = Catalogue(work.Path(), L"small.dat", true, true);
        WriteBytes(file(L"sample-512"), small);
        WriteBytes(file(L"sample-4096"), Catalogue(work.Path(), L"large.dat", false, true));
        WriteBytes(file(L"empty-512"), Catalogue(work.Path(), L"empty.dat", true, false));
        WriteBytes(file(L"sample-512-truncated"), small.substr(0, small.size() / 2));
        WriteBytes(file(L"sample-512-last-page-cut"), small.substr(0, small.size() - 100));
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
