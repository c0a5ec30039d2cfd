// Every box, title and status text a user meets in these situations, with the buttons and
// the icon of each box, in one table.
#include "tests/app/AppTestSupport.h"

#include "app/MainDlg.h"

#include <gtest/gtest.h>

#include <functional>

namespace
{
struct Situation
{
    const char* name;
    std::function<void(CMainDlg&)> act;
    const wchar_t* text;
    UINT type;
};

void SelectCategory(CMainDlg& dlg, int row)
{
    CategoryList(dlg).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

std::vector<SourceCategory> CategoriesWithAnEmptyOne()
{
    auto categories = SampleCategories();
    categories.push_back(SourceCategory{L"Empty", 1000, L"nothing yet", false, {}});
    return categories;
}
} // namespace

TEST(UserTexts, MessageBoxesTitleAndStatusLine)
{
    const Situation situations[] = {
        {"deleting the currency category",
         [](CMainDlg& dlg) {
             SelectCategory(dlg, 0);
             dlg.SendMessage(WM_COMMAND, IDC_DELETE_CATEGORY);
         },
         L"Category Currency (2026-07-06) can't be deleted.\n\nThis category has a special purpose "
         L"for updating currency rates\nfrom the European Central Bank (ECB).\n",
         MB_OK | MB_ICONINFORMATION},
        {"deleting a category that has units",
         [](CMainDlg& dlg) { dlg.SendMessage(WM_COMMAND, IDC_DELETE_CATEGORY); },
         L"Category Length isn't empty.\n\nPlease delete units first.", MB_OK | MB_ICONEXCLAMATION},
        {"deleting an empty category",
         [](CMainDlg& dlg) {
             SelectCategory(dlg, 3);
             dlg.SendMessage(WM_COMMAND, IDC_DELETE_CATEGORY);
         },
         L"Are you sure to delete category Empty ?", MB_YESNO | MB_ICONQUESTION},
        {"deleting a unit", [](CMainDlg& dlg) { dlg.SendMessage(WM_COMMAND, IDC_DELETE_UNIT); },
         L"Are you sure to delete unit foot ?", MB_YESNO | MB_ICONEXCLAMATION},
        {"updating the currency rates",
         [](CMainDlg& dlg) {
             SelectCategory(dlg, 0);
             dlg.SendMessage(WM_COMMAND, ID_CURRENCY_UPDATE);
         },
         L"Kalvo will connect to European Central Bank (ECB)\nto acquire new currency rates.\n\n"
         L"Please check internet connection before clicking Yes.\n\nDo you want to proceed now?\n",
         MB_YESNO | MB_ICONQUESTION},
    };
    for (const Situation& situation : situations)
    {
        SCOPED_TRACE(situation.name);
        CatalogueBesideProgram catalogue;
        catalogue.Write(CategoriesWithAnEmptyOne());
        ScriptedMessageBoxes boxes({}, IDNO);
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        situation.act(dlg);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, situation.text);
        EXPECT_EQ(boxes.boxes[0].caption, L"Kalvo");
        EXPECT_EQ(boxes.boxes[0].type, situation.type);
        dlg.DestroyWindow();
    }

    CatalogueBesideProgram catalogue;
    catalogue.Write(CategoriesWithAnEmptyOne());
    ScriptedMessageBoxes boxes;
    CMainDlg dlg;
    ASSERT_TRUE(dlg.Create());
    const struct
    {
        int row;
        const wchar_t* title;
        const wchar_t* status;
    } shown[] = {
        {1, L"Kalvo - Length", L"Kilometre: 1000"},
        {2, L"Kalvo - Mass", L"Kilogram: 1"},
        {3, L"Kalvo - Empty", L"Empty: \"nothing yet\""},
    };
    for (const auto& expected : shown)
    {
        SelectCategory(dlg, expected.row);
        EXPECT_EQ(dlg.GetWindowText(), expected.title);
        EXPECT_EQ(StatusField(dlg).GetWindowText(), expected.status);
    }
    dlg.DestroyWindow();
    EXPECT_TRUE(boxes.boxes.empty());
}
