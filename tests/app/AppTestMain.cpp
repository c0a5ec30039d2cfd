// The app tests' entry point. With --dpi=N the tests run in a copy of this program started at
// N DPI: Wine reads the DPI once per process from the user's LogPixels setting, so the setting
// is written for the copy and put back exactly as it was once the copy has ended.
#include "framework/DpiScale.h"
#include "tests/app/AppTestSupport.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace
{
constexpr char kDpiOption[] = "--dpi=";
// Tells the copy the DPI it was started for.
constexpr char kStartedForOption[] = "--started-for-dpi=";

// The number after `option`, -1 when it is not a number above 0, 0 for another argument.
int OptionValue(const char* arg, const char* option)
{
    const std::size_t length = std::strlen(option);
    if (std::strncmp(arg, option, length) != 0)
        return 0;
    const int value = std::atoi(arg + length);
    return value > 0 ? value : -1;
}

std::wstring Widened(const char* text) { return std::wstring(text, text + std::strlen(text)); }

// One argument of a command line, quoted so that the started program reads it back as is.
std::wstring Quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos)
        return arg;
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (wchar_t c : arg)
    {
        if (c == L'\\')
        {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(2 * backslashes, L'\\') + L"\"";
}

// LogPixels of the current user: read, written, and put back with its type, or deleted when
// there was none.
class LogPixelsSetting
{
public:
    LogPixelsSetting()
    {
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &m_key,
                              nullptr) != ERROR_SUCCESS)
        {
            m_key = nullptr;
            return;
        }
        DWORD size = 0;
        const LONG found = ::RegQueryValueExW(m_key, kName, nullptr, &m_type, nullptr, &size);
        m_bPresent = found == ERROR_SUCCESS;
        m_saved.resize(size);
        const bool bSaved =
            m_bPresent ? ::RegQueryValueExW(m_key, kName, nullptr, &m_type, m_saved.data(),
                                            &size) == ERROR_SUCCESS
                       : found == ERROR_FILE_NOT_FOUND;
        // What could not be read could not be put back: then nothing is written either.
        if (!bSaved)
        {
            ::RegCloseKey(m_key);
            m_key = nullptr;
        }
    }
    ~LogPixelsSetting()
    {
        if (!m_key)
            return;
        if (m_bWritten)
        {
            const LONG restored =
                m_bPresent ? ::RegSetValueExW(m_key, kName, 0, m_type, m_saved.data(),
                                              static_cast<DWORD>(m_saved.size()))
                           : ::RegDeleteValueW(m_key, kName);
            if (restored != ERROR_SUCCESS)
                std::fprintf(stderr, "could not put LogPixels back (error %ld)\n", restored);
        }
        ::RegCloseKey(m_key);
    }
    LogPixelsSetting(const LogPixelsSetting&) = delete;
    LogPixelsSetting& operator=(const LogPixelsSetting&) = delete;

    bool Write(DWORD dpi)
    {
        m_bWritten = m_key && ::RegSetValueExW(m_key, kName, 0, REG_DWORD,
                                               reinterpret_cast<const BYTE*>(&dpi),
                                               sizeof dpi) == ERROR_SUCCESS;
        return m_bWritten;
    }

private:
    static constexpr const wchar_t* kName = L"LogPixels";
    HKEY m_key = nullptr;
    bool m_bPresent = false;
    bool m_bWritten = false;
    DWORD m_type = 0;
    std::vector<BYTE> m_saved;
};

// Runs this program again at `dpi` with the same arguments but --dpi; its exit code.
int RunAtDpi(int dpi)
{
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    wchar_t program[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring commandLine = Quoted(program);
    const std::wstring dpiOption = Widened(kDpiOption);
    for (int i = 1; i < argc; ++i)
        if (std::wstring(argv[i]).compare(0, dpiOption.size(), dpiOption) != 0)
            commandLine += L" " + Quoted(argv[i]);
    ::LocalFree(argv);
    commandLine += L" " + Widened(kStartedForOption) + std::to_wstring(dpi);

    LogPixelsSetting setting;
    if (!setting.Write(static_cast<DWORD>(dpi)))
    {
        std::fprintf(stderr, "could not set LogPixels to %d\n", dpi);
        return 1;
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                          nullptr, &startup, &process))
    {
        std::fprintf(stderr, "could not start the tests at %d DPI\n", dpi);
        return 1;
    }
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return static_cast<int>(exitCode);
}
} // namespace

int main(int argc, char** argv)
{
    int startedFor = 0;
    for (int i = 1; i < argc; ++i)
    {
        const int dpi = OptionValue(argv[i], kDpiOption);
        if (dpi < 0)
        {
            std::fprintf(stderr, "%s: the DPI must be a number above 0\n", argv[i]);
            return 1;
        }
        if (dpi > 0)
            return RunAtDpi(dpi);
        startedFor = std::max(startedFor, OptionValue(argv[i], kStartedForOption));
    }
    // A copy that was not given its DPI would pass its tests at 96 and prove nothing.
    if (startedFor && (AfxGetSystemDpi() != startedFor || ScreenDpi() != startedFor))
    {
        std::fprintf(stderr, "started for %d DPI, running at %d (program) and %d (screen)\n",
                     startedFor, AfxGetSystemDpi(), ScreenDpi());
        return 1;
    }
    if (startedFor)
        std::printf("running at %d DPI\n", startedFor);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
