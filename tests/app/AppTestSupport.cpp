#include "tests/app/AppTestSupport.h"

#include "app/DatabaseLocation.h"
#include "app/MainDlg.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "engine/NumberText.h"

#include "store/UnitValues.h"
#include "store/Utf8.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

CatalogueBesideProgram::CatalogueBesideProgram() : m_base(GetDatabaseBasePath()) { RemoveAll(); }

CatalogueBesideProgram::~CatalogueBesideProgram() { RemoveAll(); }

void CatalogueBesideProgram::RemoveAll() const
{
    for (const wchar_t* ext : {L".mdb", L".dat"})
        for (const wchar_t* suffix : {L"", L".tmp", L"-wal", L"-shm", L"-journal"})
        {
            const std::wstring path = m_base + ext + suffix;
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
}

void CatalogueBesideProgram::Write(const std::vector<SourceCategory>& categories) const
{
    WriteCatalogue(MdbPath(), categories);
}

namespace
{
template <class Query> auto OnFile(const std::wstring& path, int flags, Query query)
{
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(ToUtf8(path).c_str(), &db, flags, nullptr) != SQLITE_OK)
    {
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + ToUtf8(path));
    }
    struct Closer
    {
        sqlite3* db;
        ~Closer() { sqlite3_close(db); }
    } closer{db};
    return query(db);
}
} // namespace

std::int64_t CatalogueBesideProgram::Int(const std::string& sql) const
{
    return OnFile(MdbPath(), SQLITE_OPEN_READONLY, [&](sqlite3* db) { return QueryInt(db, sql); });
}

std::string CatalogueBesideProgram::Text(const std::string& sql) const
{
    return OnFile(MdbPath(), SQLITE_OPEN_READONLY, [&](sqlite3* db) { return QueryText(db, sql); });
}

double CatalogueBesideProgram::Double(const std::string& sql) const
{
    return OnFile(MdbPath(), SQLITE_OPEN_READONLY,
                  [&](sqlite3* db) { return QueryDouble(db, sql); });
}

std::string CatalogueBesideProgram::Dump() const
{
    return OnFile(MdbPath(), SQLITE_OPEN_READONLY, [](sqlite3* db) { return DumpCatalogue(db); });
}

void CatalogueBesideProgram::Execute(const std::string& sql) const
{
    OnFile(MdbPath(), SQLITE_OPEN_READWRITE,
           [&](sqlite3* db)
           {
               char* error = nullptr;
               if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK)
                   return;
               const std::string message = error ? error : "error";
               sqlite3_free(error);
               throw std::runtime_error(message);
           });
}

namespace
{
SourceUnit Unit(const wchar_t* name, double factor, bool shown, const wchar_t* note = L"")
{
    SourceUnit unit;
    unit.name = name;
    unit.factor = factor;
    unit.isShown = shown;
    unit.note = note;
    return unit;
}
} // namespace

std::vector<SourceCategory> SampleCategories()
{
    SourceCategory currency{L"Currency (2026-07-06)", 1002, L"", false, {}};
    currency.units = {Unit(L"Euro  (EUR)", 1.0, true), Unit(L"US dollar  (USD)", 1.1415, true)};
    currency.units[0].isSource = true;

    SourceCategory length{L"Length", 1003, L"metres and feet", true, {}};
    length.units = {Unit(L"metre", 1, true), Unit(L"Inch", 0.0254, false),
                    Unit(L"foot", 0.3048, true), Unit(L"Kilometre", 1000, true)};
    length.units[0].isSource = true;
    length.units[2].isCurrent = true;
    length.units[3].isTarget = true;

    SourceCategory mass{L"Mass", 4242, L"", false, {}};
    mass.units = {Unit(L"Kilogram", 1, true)};
    mass.units[0].isSource = true;
    return {currency, length, mass};
}

ScriptedMessageBoxes::ScriptedMessageBoxes(std::deque<int> answers, int then)
    : m_answers(std::move(answers)), m_handler([this, then](const MessageBoxRequest& request) {
          boxes.push_back(request);
          if (m_answers.empty())
              return then;
          const int answer = m_answers.front();
          m_answers.pop_front();
          return answer;
      })
{
}

CListCtrl& CategoryList(const CWnd& dlg) { return ControlOf<CListCtrl>(dlg, IDC_CATEGORY_LIST); }
CListCtrl& UnitList(const CWnd& dlg) { return ControlOf<CListCtrl>(dlg, IDC_UNIT_LIST); }
CListCtrl& ResultList(const CWnd& dlg) { return ControlOf<CListCtrl>(dlg, IDC_RESULT_LIST); }
CEdit& ValueField(const CWnd& dlg) { return ControlOf<CEdit>(dlg, IDC_VALUE); }
CEdit& SourceUnitField(const CWnd& dlg) { return ControlOf<CEdit>(dlg, IDC_SOURCE_UNIT); }
CEdit& StatusField(const CWnd& dlg) { return ControlOf<CEdit>(dlg, IDC_STATUS); }

void ClickButton(const CWnd& dlg, int id)
{
    ::SendMessageW(dlg.GetDlgItemHwnd(id), BM_CLICK, 0, 0);
}

void Command(CWnd& dlg, int id)
{
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItemHwnd(id)));
}

RECT ClientRectOf(HWND parent, HWND control)
{
    RECT rect;
    ::GetWindowRect(control, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND ButtonToolTips(const CWnd& dlg)
{
    for (HWND hWnd = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); hWnd;
         hWnd = ::FindWindowExW(nullptr, hWnd, TOOLTIPS_CLASSW, nullptr))
    {
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        info.hwnd = dlg.m_hWnd;
        info.uId = reinterpret_cast<UINT_PTR>(dlg.GetDlgItemHwnd(IDC_KEY_CLEAR));
        if (::GetWindow(hWnd, GW_OWNER) == dlg.m_hWnd &&
            ::SendMessageW(hWnd, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info)))
            return hWnd;
    }
    return nullptr;
}

std::vector<std::wstring> RowTexts(CListCtrl& list, int column)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < list.GetItemCount(); ++i)
        texts.push_back(list.GetItemText(i, column));
    return texts;
}

int SelectedRow(CListCtrl& list) { return list.GetNextItem(-1, LVNI_SELECTED); }

std::vector<std::wstring> WrongResultRows(CMainDlg& dlg)
{
    CCatalogue& catalogue = dlg.GetCatalogue();
    const double value = catalogue.SourceValue();
    CRecordsetUnit& units = catalogue.Units();
    if (!units.FindUnit(catalogue.Categories().m_SourceUnitId))
        return {L"the category has no source unit"};
    const UnitScale source = ScaleOf(units);
    CRecordsetResult& results = catalogue.Results();
    CListCtrl& list = ResultList(dlg);
    std::vector<std::wstring> wrong;
    for (int row = 0; row < list.GetItemCount(); ++row)
    {
        results.SetAbsolutePosition(static_cast<std::int32_t>(list.GetItemData(row)));
        const std::wstring expected = FormatLg(ConvertValue(value, source, ScaleOf(results)));
        const std::wstring shown = list.GetItemText(row, 1);
        if (shown != expected)
            wrong.push_back(results.m_UnitName + L": " + shown + L", not " + expected);
    }
    return wrong;
}

int ScreenDpi()
{
    static const int dpi = [] {
        HDC screen = ::GetDC(nullptr);
        const int value = ::GetDeviceCaps(screen, LOGPIXELSY);
        ::ReleaseDC(nullptr, screen);
        return value;
    }();
    return dpi;
}

int Scaled(int value) { return (value * ScreenDpi() + 48) / 96; }

RECT ScaledRect(int x, int y, int width, int height)
{
    return RECT{Scaled(x), Scaled(y), Scaled(x + width), Scaled(y + height)};
}

bool ShowsSkinColour(COLORREF shown, HDC bitmap, POINT at96)
{
    if (ScreenDpi() == 96)
        return shown == ::GetPixel(bitmap, at96.x, at96.y);
    for (int shift : {0, 8, 16})
    {
        int low = 255, high = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
            {
                const COLORREF neighbour = ::GetPixel(bitmap, at96.x + dx, at96.y + dy);
                if (neighbour == CLR_INVALID)
                    continue;
                low = std::min(low, static_cast<int>(neighbour >> shift & 0xFF));
                high = std::max(high, static_cast<int>(neighbour >> shift & 0xFF));
            }
        const int value = static_cast<int>(shown >> shift & 0xFF);
        if (value < low || value > high)
            return false;
    }
    return true;
}

long DistanceFromWorkAreaCentre(HWND window)
{
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const long dx = (rect.left + rect.right) - (monitor.rcWork.left + monitor.rcWork.right);
    const long dy = (rect.top + rect.bottom) - (monitor.rcWork.top + monitor.rcWork.bottom);
    return std::max(std::labs(dx), std::labs(dy)) / 2;
}
