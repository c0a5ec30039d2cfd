// The lists' pop-up menus on the real main window: which menu opens, where, and with
// which bold default item.
#include "tests/app/AppTestSupport.h"

#include "app/MainDlg.h"

#include "framework/Clipboard.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{
struct OpenedMenu
{
    bool opened = false;
    std::vector<UINT> items;
    std::vector<UINT> grayed;
    UINT defaultItem = 0;
};
OpenedMenu g_menu;

// Records the menu as it opens and closes it at once.
LRESULT CALLBACK WatchMenus(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_INITMENUPOPUP)
    {
        HMENU menu = reinterpret_cast<HMENU>(message->wParam);
        g_menu.opened = true;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i)
            if (UINT id = ::GetMenuItemID(menu, i); id != 0 && id != UINT(-1))
            {
                g_menu.items.push_back(id);
                if (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED)
                    g_menu.grayed.push_back(id);
            }
        g_menu.defaultItem = ::GetMenuDefaultItem(menu, FALSE, 0);
        ::PostMessageW(message->hwnd, WM_CANCELMODE, 0, 0);
        ::EndMenu();
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

class PopupMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        catalogue.Write(SampleCategories());
        ASSERT_TRUE(dlg.Create());
        hook = ::SetWindowsHookExW(WH_CALLWNDPROC, WatchMenus, nullptr, ::GetCurrentThreadId());
    }
    void TearDown() override
    {
        ::UnhookWindowsHookEx(hook);
        dlg.DestroyWindow();
    }

    OpenedMenu RequestMenu(CWnd& list, POINT screen)
    {
        g_menu = OpenedMenu{};
        list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd),
                         MAKELPARAM(screen.x, screen.y));
        return g_menu;
    }
    POINT RowPoint(CListCtrl& list, int row)
    {
        RECT rect{LVIR_BOUNDS, 0, 0, 0};
        list.SendMessage(LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        POINT point{rect.left + 5, (rect.top + rect.bottom) / 2};
        list.ClientToScreen(&point);
        return point;
    }
    bool Has(const OpenedMenu& menu, UINT id)
    {
        return std::find(menu.items.begin(), menu.items.end(), id) != menu.items.end();
    }

    CatalogueBesideProgram catalogue;
    ScriptedMessageBoxes boxes;
    CMainDlg dlg;
    HHOOK hook = nullptr;
};
} // namespace

TEST_F(PopupMenuTest, CurrencyCategoryOffersTheRatesUpdateAndNoDeletion)
{
    const OpenedMenu ordinary = RequestMenu(CategoryList(dlg), RowPoint(CategoryList(dlg), 1));
    ASSERT_TRUE(ordinary.opened);
    EXPECT_TRUE(Has(ordinary, ID_CATEGORY_DELETE));
    EXPECT_FALSE(Has(ordinary, ID_CURRENCY_UPDATE));

    CategoryList(dlg).SetItemState(0, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ASSERT_EQ(dlg.GetCatalogue().CategoryId(), 1);
    const OpenedMenu currency = RequestMenu(CategoryList(dlg), RowPoint(CategoryList(dlg), 0));
    ASSERT_TRUE(currency.opened);
    EXPECT_TRUE(Has(currency, ID_CURRENCY_UPDATE));
    EXPECT_FALSE(Has(currency, ID_CATEGORY_DELETE));
    EXPECT_EQ(currency.defaultItem, UINT(-1)) << "no bold item in the category menus";
}

TEST_F(PopupMenuTest, UnitAndResultMenusOpenOnlyOverARow)
{
    const OpenedMenu units = RequestMenu(UnitList(dlg), RowPoint(UnitList(dlg), 0));
    ASSERT_TRUE(units.opened);
    EXPECT_EQ(units.defaultItem, UINT(ID_UNIT_SHOW_IN_RESULT));
    EXPECT_TRUE(Has(units, ID_UNIT_SET_AS_SOURCE));

    const OpenedMenu results = RequestMenu(ResultList(dlg), RowPoint(ResultList(dlg), 0));
    ASSERT_TRUE(results.opened);
    EXPECT_EQ(results.defaultItem, UINT(ID_RESULT_SET_AS_SOURCE));
    EXPECT_TRUE(Has(results, ID_RESULT_HIDE));

    RECT client;
    UnitList(dlg).GetClientRect(&client);
    POINT belowRows{client.right / 2, client.bottom - 5};
    UnitList(dlg).ClientToScreen(&belowRows);
    EXPECT_FALSE(RequestMenu(UnitList(dlg), belowRows).opened);
    EXPECT_FALSE(RequestMenu(ResultList(dlg), POINT{-1, -1}).opened) << "keyboard request";
    EXPECT_TRUE(RequestMenu(CategoryList(dlg), POINT{-1, -1}).opened);
}

TEST_F(PopupMenuTest, TextFieldsOfferCopyAndTheValueFieldPaste)
{
    auto clearClipboard = [&] {
        ::OpenClipboard(dlg.m_hWnd);
        ::EmptyClipboard();
        ::CloseClipboard();
    };
    clearClipboard();
    const OpenedMenu empty = RequestMenu(ValueField(dlg), POINT{-1, -1});
    ASSERT_TRUE(empty.opened);
    EXPECT_EQ(empty.items, (std::vector<UINT>{ID_EDIT_COPY_TEXT, ID_EDIT_PASTE_TEXT}));
    EXPECT_EQ(empty.grayed, (std::vector<UINT>{ID_EDIT_PASTE_TEXT})) << "nothing to paste";

    CopyTextToClipboard(dlg.m_hWnd, L"12");
    EXPECT_TRUE(RequestMenu(ValueField(dlg), POINT{-1, -1}).grayed.empty());

    const OpenedMenu status = RequestMenu(StatusField(dlg), POINT{-1, -1});
    EXPECT_EQ(status.items, (std::vector<UINT>{ID_EDIT_COPY_TEXT}));
    clearClipboard();
}

TEST_F(PopupMenuTest, ButtonAndSourceUnitTooltips)
{
    auto tipText = [&](int id) {
        wchar_t text[128] = L"";
        TOOLINFOW info{};
        info.cbSize = TTTOOLINFOW_V1_SIZE;
        info.uFlags = TTF_IDISHWND;
        info.hwnd = dlg.m_hWnd;
        info.uId = reinterpret_cast<UINT_PTR>(dlg.GetDlgItemHwnd(id));
        info.lpszText = text;
        ::SendMessageW(ButtonToolTips(dlg), TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&info));
        return std::wstring(text);
    };
    EXPECT_EQ(tipText(IDC_KEY_CLEAR), L"Clear [Esc]");
    EXPECT_EQ(tipText(IDC_RENAME_CATEGORY), L"Rename selected category");
    EXPECT_EQ(tipText(IDC_SOURCE_UNIT), L"Source unit: metre");
}
