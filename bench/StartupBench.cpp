// Start-up and memory of Kalvo with its starter catalogue, against an empty dialog program
// started the same way, and against that program showing the main window's dialog template
// from Kalvo's resources, with all its controls and none of Kalvo's code: the floor of the
// window itself. Each round starts each as a user would: a new process, timed from
// CreateProcess until its dialog is visible and until it first waits for input (painted),
// then it is closed through its close box. Memory is read once the window waits for input.
// The programs take turns, so a change in the machine's load meets all three. Prints figures
// only.
//
//   wine StartupBench.exe KALVO.exe STARTER_CATALOGUE.mdb EMPTYDIALOG.exe [ROUNDS]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace
{
using Clock = std::chrono::steady_clock;
constexpr DWORD kPatienceMs = 30000;
constexpr int kMainDialogId = 201;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}
double Mebibytes(SIZE_T bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

std::wstring Widen(const char* text)
{
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(length > 0 ? length - 1 : 0, L'\0');
    if (length > 1)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    return wide;
}

std::wstring FullPath(const std::wstring& path)
{
    wchar_t full[MAX_PATH];
    const DWORD length = ::GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
    return length > 0 && length < MAX_PATH ? std::wstring(full, length) : path;
}

struct Run
{
    bool ok = false;
    const char* failure = "";
    double shownMs = 0, idleMs = 0, closedMs = 0;
    SIZE_T peakWorkingSet = 0, peakPagefile = 0;
};

struct WindowSearch
{
    DWORD processId;
    HWND found;
};

// A visible dialog window of the process: both programs' main windows are dialogs.
BOOL CALLBACK FindShownDialog(HWND hWnd, LPARAM lParam)
{
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hWnd, &owner);
    if (owner != search.processId || !::IsWindowVisible(hWnd))
        return TRUE;
    wchar_t className[16] = {};
    ::GetClassNameW(hWnd, className, 16);
    if (std::wstring(className) != L"#32770")
        return TRUE;
    search.found = hWnd;
    return FALSE;
}

Run Launch(const std::wstring& program, const std::wstring& folder,
           const std::wstring& arguments = L"")
{
    Run run;
    std::wstring commandLine = L"\"" + program + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};

    const auto start = Clock::now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          folder.c_str(), &startup, &process))
    {
        run.failure = "CreateProcess failed";
        return run;
    }
    WindowSearch search{process.dwProcessId, nullptr};
    while (!search.found)
    {
        ::EnumWindows(FindShownDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            break;
        if (::WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0)
        {
            run.failure = "the program ended before its window was shown";
            break;
        }
        if (Milliseconds(Clock::now() - start) > kPatienceMs)
        {
            run.failure = "no window within 30 s";
            break;
        }
        ::Sleep(1);
    }
    if (search.found)
    {
        run.shownMs = Milliseconds(Clock::now() - start);
        const DWORD idle = ::WaitForInputIdle(process.hProcess, kPatienceMs);
        run.idleMs = Milliseconds(Clock::now() - start);

        PROCESS_MEMORY_COUNTERS_EX memory{};
        memory.cb = sizeof memory;
        const BOOL haveMemory = ::GetProcessMemoryInfo(
            process.hProcess, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
        run.peakWorkingSet = memory.PeakWorkingSetSize;
        run.peakPagefile = memory.PeakPagefileUsage;

        const auto closing = Clock::now();
        ::PostMessageW(search.found, WM_CLOSE, 0, 0);
        const bool closed = ::WaitForSingleObject(process.hProcess, kPatienceMs) == WAIT_OBJECT_0;
        run.closedMs = Milliseconds(Clock::now() - closing);
        if (idle != 0)
            run.failure = "WaitForInputIdle failed";
        else if (!haveMemory)
            run.failure = "GetProcessMemoryInfo failed";
        else if (!closed)
            run.failure = "the program did not end after WM_CLOSE";
        else
            run.ok = true;
    }
    if (::WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0)
    {
        ::TerminateProcess(process.hProcess, 1);
        ::WaitForSingleObject(process.hProcess, kPatienceMs);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

template <class Field> std::vector<double> Column(const std::vector<Run>& runs, Field field)
{
    std::vector<double> values;
    for (const Run& run : runs)
        values.push_back(field(run));
    return values;
}

struct Summary
{
    double shown, idle, closed, peakWorkingSet, peakPagefile;
    double shownMin, shownMax, idleMin, idleMax;
};

Summary Summarise(const std::vector<Run>& runs)
{
    const auto shown = Column(runs, [](const Run& r) { return r.shownMs; });
    const auto idle = Column(runs, [](const Run& r) { return r.idleMs; });
    return Summary{Median(shown),
                   Median(idle),
                   Median(Column(runs, [](const Run& r) { return r.closedMs; })),
                   Median(Column(runs, [](const Run& r) { return Mebibytes(r.peakWorkingSet); })),
                   Median(Column(runs, [](const Run& r) { return Mebibytes(r.peakPagefile); })),
                   *std::min_element(shown.begin(), shown.end()),
                   *std::max_element(shown.begin(), shown.end()),
                   *std::min_element(idle.begin(), idle.end()),
                   *std::max_element(idle.begin(), idle.end())};
}

void RemoveCatalogueFiles(const std::wstring& base)
{
    for (const wchar_t* ext : {L".mdb", L".dat"})
        for (const wchar_t* suffix : {L"", L".tmp", L"-wal", L"-shm", L"-journal"})
        {
            const std::wstring path = base + ext + suffix;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4)
    {
        std::printf(
            "usage: StartupBench KALVO.exe STARTER_CATALOGUE.mdb EMPTYDIALOG.exe [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 15;

    // Both programs run from a folder of their own: Kalvo rewrites the catalogue beside it,
    // and each round starts again from the starter catalogue.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    const std::wstring folder =
        std::wstring(temp) + L"KalvoStartupBench-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring kalvo = folder + L"\\Kalvo.exe";
    const std::wstring empty = folder + L"\\EmptyDialog.exe";
    const std::wstring starter = FullPath(Widen(argv[2]));
    if (!::CopyFileW(FullPath(Widen(argv[1])).c_str(), kalvo.c_str(), FALSE) ||
        !::CopyFileW(FullPath(Widen(argv[3])).c_str(), empty.c_str(), FALSE) ||
        ::GetFileAttributesW(starter.c_str()) == INVALID_FILE_ATTRIBUTES)
    {
        std::printf("cannot copy the programs or find the starter catalogue\n");
        return 1;
    }
    const std::wstring base = folder + L"\\Kalvo";
    auto launchKalvo = [&]
    {
        RemoveCatalogueFiles(base);
        ::CopyFileW(starter.c_str(), (base + L".mdb").c_str(), FALSE);
        return Launch(kalvo, folder);
    };

    // One round of each first, unmeasured: the files come into the cache, Wine loads its
    // libraries once.
    launchKalvo();
    Launch(empty, folder);

    // The main window's template, shown by the empty dialog program from Kalvo's resources.
    const std::wstring templateArguments = L" \"" + kalvo + L"\" " + std::to_wstring(kMainDialogId);
    Launch(empty, folder, templateArguments);

    const char* const names[] = {"Kalvo", "empty dialog", "main window's template"};
    std::vector<Run> runs[3];
    int failures = 0;
    for (int i = 0; i < rounds; ++i)
    {
        for (int program = 0; program < 3; ++program)
        {
            const Run run = program == 0   ? launchKalvo()
                            : program == 1 ? Launch(empty, folder)
                                           : Launch(empty, folder, templateArguments);
            if (!run.ok)
            {
                ++failures;
                std::printf("round %d, %s: %s\n", i + 1, names[program], run.failure);
                continue;
            }
            runs[program].push_back(run);
        }
    }
    RemoveCatalogueFiles(base);
    ::DeleteFileW(kalvo.c_str());
    ::DeleteFileW(empty.c_str());
    ::RemoveDirectoryW(folder.c_str());
    if (runs[0].empty() || runs[1].empty() || runs[2].empty())
    {
        std::printf("no complete round\n");
        return 1;
    }

    const Summary k = Summarise(runs[0]), e = Summarise(runs[1]), t = Summarise(runs[2]);
    std::printf("start-up, new process to its window, median of %zu/%zu/%zu rounds (min-max), ms\n",
                runs[0].size(), runs[1].size(), runs[2].size());
    std::printf("  %-28s %-24s %-24s %s\n", "", "window shown", "waiting for input",
                "closing (to process end)");
    auto times = [](const char* label, const Summary& x)
    {
        std::printf("  %-28s %7.1f (%6.1f-%6.1f)   %7.1f (%6.1f-%6.1f)   %7.1f\n", label, x.shown,
                    x.shownMin, x.shownMax, x.idle, x.idleMin, x.idleMax, x.closed);
    };
    auto timeRatios = [](const char* label, const Summary& x, const Summary& y)
    {
        std::printf("  %-28s %7.2f                   %7.2f                   %7.2f\n", label,
                    x.shown / y.shown, x.idle / y.idle, x.closed / y.closed);
    };
    times("Kalvo, starter catalogue", k);
    times("empty dialog", e);
    times("main window's template", t);
    timeRatios("ratio Kalvo / empty dialog", k, e);
    timeRatios("ratio template / empty", t, e);
    std::printf("peak memory with the window shown, median, MiB\n");
    std::printf("  %-28s %-18s %s\n", "", "peak working set", "peak pagefile usage");
    auto memory = [](const char* label, double workingSet, double pagefile)
    { std::printf("  %-28s %8.2f           %8.2f\n", label, workingSet, pagefile); };
    memory("Kalvo, starter catalogue", k.peakWorkingSet, k.peakPagefile);
    memory("empty dialog", e.peakWorkingSet, e.peakPagefile);
    memory("main window's template", t.peakWorkingSet, t.peakPagefile);
    memory("ratio Kalvo / empty dialog", k.peakWorkingSet / e.peakWorkingSet,
           k.peakPagefile / e.peakPagefile);
    memory("ratio template / empty", t.peakWorkingSet / e.peakWorkingSet,
           t.peakPagefile / e.peakPagefile);
    if (failures)
        std::printf("%d launches failed and are left out\n", failures);
    return 0;
}
