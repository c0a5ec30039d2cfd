// A catalogue whose rows another program has damaged: NULL names and factors, texts far
// beyond the 255-character limit, flags out of range, ids that point nowhere. The main
// window must open it, and the user must be able to browse and edit it without a crash.
#include "tests/app/AppTestSupport.h"

#include "app/MainDlg.h"

#include "store/Utf8.h"

#include <gtest/gtest.h>
#include <string>

namespace
{
void Damage(const CatalogueBesideProgram& catalogue)
{
    const std::string huge(100000, 'x');
    const std::string sql =
        "PRAGMA ignore_check_constraints = 1;"
        "UPDATE Units SET UnitName = NULL WHERE UnitName = 'Inch';"
        "UPDATE Units SET FactorMul = NULL, FactorAdd = NULL, UserValue = 'garbage'"
        "  WHERE UnitName = 'foot';"
        "UPDATE Units SET UnitName = '" + huge + "', Note = '" + huge + "'"
        "  WHERE UnitName = 'Kilometre';"
        "UPDATE Units SET IsInvertResult = 7, IsSelected = 5, FactorMul = 0 WHERE UnitName = 'metre';"
        "INSERT INTO Units (UnitName, CategoryId, IsSelected) VALUES ('orphan', 777, 1);"
        "UPDATE Category SET SourceUnitId = 9999, CurrentUnitId = 8888, TargetUnitId = -5,"
        "  IconId = NULL, Note = NULL WHERE CategoryName = 'Length';"
        "UPDATE Category SET CategoryName = NULL, IsSelected = 3 WHERE CategoryName = 'Mass';"
        "UPDATE Category SET CategoryName = '" + huge + "' WHERE CategoryName LIKE 'Currency%';";
    catalogue.Execute(sql);
}

void Select(CListCtrl& list, int row)
{
    list.SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// Every properties dialog is confirmed as it stands; one that refuses its fields is
// cancelled from its own loop.
class ConfirmEveryDialog
{
public:
    ConfirmEveryDialog()
        : m_handler([this](CDialog& dialog) {
              ++shown;
              ::SendMessageW(dialog.GetDlgItemHwnd(IDOK), BM_CLICK, 0, 0);
              dialog.PostMessage(WM_COMMAND, IDCANCEL, 0);
          })
    {
    }
    int shown = 0;

private:
    ScopedModalDialogHandler m_handler;
};
} // namespace

TEST(DamagedCatalogue, OpensAndCanBeBrowsedAndEdited)
{
    CatalogueBesideProgram catalogue;
    catalogue.Write(SampleCategories());
    Damage(catalogue);
    ScriptedMessageBoxes boxes({}, IDNO);
    ConfirmEveryDialog dialogs;
    {
        CMainDlg dlg;
        const BOOL bCreated = dlg.Create();
        for (const auto& box : boxes.boxes)
            ADD_FAILURE() << ToUtf8(box.text);
        ASSERT_TRUE(bCreated);
        ASSERT_EQ(CategoryList(dlg).GetItemCount(), 3);
        for (int nCategory = 0; nCategory < CategoryList(dlg).GetItemCount(); ++nCategory)
        {
            Select(CategoryList(dlg), nCategory);
            for (int nUnit = 0; nUnit < UnitList(dlg).GetItemCount(); ++nUnit)
            {
                Select(UnitList(dlg), nUnit);
                Command(dlg, ID_UNIT_SET_AS_SOURCE);
                Command(dlg, IDC_KEY_0 + 7);
                Command(dlg, IDC_KEY_SIGN);
                Command(dlg, ID_UNIT_SHOW_IN_RESULT);
                Command(dlg, IDC_EDIT_UNIT);
            }
            for (int nResult = 0; nResult < ResultList(dlg).GetItemCount(); ++nResult)
            {
                Select(ResultList(dlg), nResult);
                Command(dlg, ID_RESULT_COPY_VALUE);
                Command(dlg, ID_RESULT_PROPERTIES);
            }
            Command(dlg, IDC_RENAME_CATEGORY);
            ::RedrawWindow(dlg.m_hWnd, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        }
        EXPECT_TRUE(dlg.IsWindowVisible()) << "the window is still up";
        EXPECT_GT(dialogs.shown, 5);
        // What a damaged row still shows: the long name cut by the list, never lost.
        bool bLongNameShown = false;
        for (int nCategory = 0; nCategory < CategoryList(dlg).GetItemCount(); ++nCategory)
            bLongNameShown |= CategoryList(dlg).GetItemText(nCategory, 0).size() > 200;
        EXPECT_TRUE(bLongNameShown);
        dlg.DestroyWindow();
    }
    EXPECT_EQ(catalogue.Text("PRAGMA integrity_check"), "ok");
    EXPECT_EQ(catalogue.Int("SELECT count(*) FROM Category"), 3);
}
