// Kalvo.exe must run from a bare folder: it may import only DLLs that Windows ships.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace
{
std::vector<char> ReadFile(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

template <class T> const T* At(const std::vector<char>& image, size_t offset)
{
    if (offset + sizeof(T) > image.size())
        return nullptr;
    return reinterpret_cast<const T*>(image.data() + offset);
}

std::set<std::string> ImportedDlls(const std::vector<char>& image)
{
    std::set<std::string> names;
    const auto* dos = At<IMAGE_DOS_HEADER>(image, 0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return names;
    const auto* nt = At<IMAGE_NT_HEADERS32>(image, dos->e_lfanew);
    if (!nt || nt->Signature != IMAGE_NT_SIGNATURE)
        return names;
    const auto* sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(
        reinterpret_cast<const char*>(&nt->OptionalHeader) + nt->FileHeader.SizeOfOptionalHeader);
    auto toOffset = [&](DWORD rva) -> size_t {
        for (int i = 0; i < nt->FileHeader.NumberOfSections; ++i)
        {
            const auto& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return rva - s.VirtualAddress + s.PointerToRawData;
        }
        return image.size();
    };
    // The import directory sits at another offset in a 64-bit (PE32+) optional header.
    const auto* nt64 = reinterpret_cast<const IMAGE_NT_HEADERS64*>(nt);
    const bool bPe32Plus = nt->OptionalHeader.Magic == IMAGE_NT_OPTIONAL_HDR64_MAGIC;
    if (bPe32Plus && !At<IMAGE_NT_HEADERS64>(image, dos->e_lfanew))
        return names;
    const DWORD importRva =
        (bPe32Plus ? nt64->OptionalHeader.DataDirectory
                   : nt->OptionalHeader.DataDirectory)[IMAGE_DIRECTORY_ENTRY_IMPORT]
            .VirtualAddress;
    for (size_t offset = toOffset(importRva);; offset += sizeof(IMAGE_IMPORT_DESCRIPTOR))
    {
        const auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(image, offset);
        if (!descriptor || descriptor->Name == 0)
            break;
        std::string name(image.data() + toOffset(descriptor->Name));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        names.insert(name);
    }
    return names;
}
} // namespace

TEST(ImportTable, KalvoImportsOnlySystemDlls)
{
    // The test is built for the same platform as Kalvo.exe, so their headers must agree.
    const WORD expectedMagic =
        sizeof(void*) == 8 ? IMAGE_NT_OPTIONAL_HDR64_MAGIC : IMAGE_NT_OPTIONAL_HDR32_MAGIC;
    const auto image = ReadFile(KALVO_EXE_PATH);
    const auto* dos = At<IMAGE_DOS_HEADER>(image, 0);
    ASSERT_TRUE(dos);
    const auto* nt = At<IMAGE_NT_HEADERS32>(image, dos->e_lfanew);
    ASSERT_TRUE(nt);
    EXPECT_EQ(nt->OptionalHeader.Magic, expectedMagic);

    const std::set<std::string> system = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                          "comctl32.dll", "wininet.dll",  "shell32.dll",
                                          "ole32.dll",    "advapi32.dll", "msvcrt.dll",
                                          "comdlg32.dll"};
    const auto imported = ImportedDlls(image);
    ASSERT_FALSE(imported.empty()) << "no import table read from " << KALVO_EXE_PATH;
    EXPECT_TRUE(imported.count("kernel32.dll"));
    for (const auto& name : imported)
        EXPECT_TRUE(system.count(name)) << name << " is not a system DLL";
}
