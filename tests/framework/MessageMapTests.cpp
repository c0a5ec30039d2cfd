// Message-map entries on a real window: which entry a message reaches, with what arguments.
#include "tests/framework/TestSupport.h"

#include "framework/Gdi.h"
#include "framework/MessageMap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Log = std::vector<std::string>;

class BaseWindow : public CWnd
{
public:
    Log log;
    BEGIN_MSG_MAP(BaseWindow)
    ON_COMMAND(100, OnBaseButton)
    ON_COMMAND(101, OnBaseOnly)
    END_MSG_MAP(CWnd)

private:
    void OnBaseButton() { log.push_back("base 100"); }
    void OnBaseOnly() { log.push_back("base 101"); }
};

class MapWindow : public BaseWindow
{
public:
    BEGIN_MSG_MAP(MapWindow)
    ON_COMMAND(100, OnButton)
    ON_COMMAND_RANGE(6100, 6109, OnKey)
    ON_CONTROL(EN_CHANGE, 7, OnEditChange)
    ON_NOTIFY(NM_CLICK, 40, OnClick)
    ON_NOTIFY_RANGE(NM_DBLCLK, 41, 43, OnDoubleClick)
    ON_WM_SIZE(OnSize)
    ON_WM_CONTEXTMENU(OnContextMenu)
    ON_WM_ERASEBKGND(OnEraseBkgnd)
    ON_WM_QUERYDRAGICON(OnQueryDragIcon)
    ON_WM_TIMER(OnTimer)
    ON_WM_PAINT(OnPaint)
    END_MSG_MAP(BaseWindow)

private:
    template <class... Parts> void Add(Parts... parts)
    {
        std::string entry;
        ((entry += parts), ...);
        log.push_back(entry);
    }
    static std::string N(long long n) { return std::to_string(n); }
    void OnButton() { Add("100"); }
    void OnKey(UINT id) { Add("key ", N(id)); }
    void OnEditChange() { Add("edit changed"); }
    void OnClick(NMHDR*, LRESULT* result) { *result = 7; }
    void OnDoubleClick(UINT id, NMHDR*, LRESULT* result)
    {
        *result = static_cast<LRESULT>(id) * 10;
    }
    void OnSize(UINT type, int cx, int cy) { Add("size ", N(type), " ", N(cx), "x", N(cy)); }
    void OnContextMenu(HWND wnd, POINT pt)
    {
        Add("menu ", N(wnd == m_hWnd), " ", N(pt.x), ",", N(pt.y));
    }
    BOOL OnEraseBkgnd(HDC) { return 3; }
    HCURSOR OnQueryDragIcon() { return ::LoadCursorW(nullptr, IDC_CROSS); }
    void OnTimer(UINT_PTR id) { Add("timer ", N(static_cast<long long>(id))); }
    void OnPaint() { Add(CPaintDC(this).m_hDC ? "painted" : "no dc"); }
};

LRESULT Command(CWnd& wnd, int id, int code, HWND control = nullptr)
{
    return wnd.SendMessage(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

LRESULT Notify(CWnd& wnd, UINT_PTR id, UINT code)
{
    NMHDR header{nullptr, id, code};
    return wnd.SendMessage(WM_NOTIFY, id, reinterpret_cast<LPARAM>(&header));
}

} // namespace

TEST(MessageMap, CommandsReachTheFirstMatchingEntryOrTheBase)
{
    MapWindow wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    HWND button = ::CreateWindowExW(0, L"Button", L"", WS_CHILD, 0, 0, 9, 9, wnd.m_hWnd,
                                    reinterpret_cast<HMENU>(100), nullptr, nullptr);
    HWND edit = ::CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 9, 9, wnd.m_hWnd,
                                  reinterpret_cast<HMENU>(7), nullptr, nullptr);
    ::SendMessageW(button, BM_CLICK, 0, 0); // a real BN_CLICKED
    ::SetWindowTextW(edit, L"12");          // a real EN_CHANGE (and EN_UPDATE)
    Command(wnd, 101, 0);                   // menu
    Command(wnd, 101, 1);                   // accelerator
    // Code 1 from a control is a notification such as CBN_SELCHANGE; EN_CHANGE from the
    // button's id is no click.
    Command(wnd, 101, CBN_SELCHANGE, button);
    Command(wnd, 100, EN_CHANGE, button);
    for (int id : {6099, 6100, 6109, 6110})
        Command(wnd, id, 0);
    EXPECT_EQ(wnd.log,
              (Log{"100", "edit changed", "base 101", "base 101", "key 6100", "key 6109"}));

    // What no map names reaches the default procedure.
    wnd.SetWindowText(L"three");
    EXPECT_EQ(wnd.SendMessage(WM_GETTEXTLENGTH), 5);
}

TEST(MessageMap, NotificationsMatchIdAndCodeAndAnswerThroughTheResult)
{
    MapWindow wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    EXPECT_EQ(Notify(wnd, 40, NM_CLICK), 7);
    EXPECT_EQ(Notify(wnd, 41, NM_CLICK), 0);
    EXPECT_EQ(Notify(wnd, 40, NM_DBLCLK), 0);
    EXPECT_EQ(Notify(wnd, 41, NM_DBLCLK), 410);
    EXPECT_EQ(Notify(wnd, 43, NM_DBLCLK), 430);
    EXPECT_EQ(Notify(wnd, 44, NM_DBLCLK), 0);
}

TEST(MessageMap, CrackersDecodeTheirParameters)
{
    MapWindow wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    wnd.log.clear();
    wnd.SendMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(333, 222));
    // Screen points left of and above the primary monitor are negative.
    wnd.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd.m_hWnd), MAKELPARAM(-5, -7));
    wnd.SendMessage(WM_TIMER, 5);
    wnd.SendMessage(WM_PAINT);
    EXPECT_EQ(wnd.log, (Log{"size 2 333x222", "menu 1 -5,-7", "timer 5", "painted"}));
    EXPECT_EQ(wnd.SendMessage(WM_ERASEBKGND), 3);
    EXPECT_EQ(wnd.SendMessage(WM_QUERYDRAGICON),
              reinterpret_cast<LRESULT>(::LoadCursorW(nullptr, IDC_CROSS)));
}
