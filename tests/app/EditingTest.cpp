// Category and unit editing on the real main window, with the real properties dialogs
// answered through the modal seam, on a real catalogue file.
#include "tests/app/AppTestSupport.h"

#include "app/MainDlg.h"
#include "editing/CategoryEditDlg.h"
#include "editing/UnitEditDlg.h"

#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>

namespace
{
using DialogStep = std::function<void(CDialog&)>;

CDialog* g_openDialog = nullptr;
UINT_PTR g_watchdog = 0;

void StopWatchdog()
{
    if (g_watchdog)
        ::KillTimer(nullptr, g_watchdog);
    g_watchdog = 0;
    g_openDialog = nullptr;
}

// A step that left its dialog open would block the test in the dialog's loop for ever.
void CALLBACK CloseForgottenDialog(HWND, UINT, UINT_PTR, DWORD)
{
    CDialog* dialog = g_openDialog;
    StopWatchdog();
    if (dialog && dialog->IsWindow())
    {
        ADD_FAILURE() << "a dialog was left open";
        dialog->EndDialog(IDCANCEL);
    }
}

// Answers the modal dialogs in the order they open; a dialog without a step is cancelled.
class DialogScript
{
public:
    explicit DialogScript(std::vector<DialogStep> steps)
        : m_steps(steps.begin(), steps.end()), m_handler([this](CDialog& dialog) { Answer(dialog); })
    {
    }
    ~DialogScript() { StopWatchdog(); }
    int shown = 0;

private:
    void Answer(CDialog& dialog)
    {
        StopWatchdog();
        ++shown;
        if (m_steps.empty())
        {
            dialog.EndDialog(IDCANCEL);
            return;
        }
        DialogStep step = std::move(m_steps.front());
        m_steps.pop_front();
        step(dialog);
        g_openDialog = &dialog;
        g_watchdog = ::SetTimer(nullptr, 0, 3000, CloseForgottenDialog);
    }

    std::deque<DialogStep> m_steps;
    ScopedModalDialogHandler m_handler;
};

void SetField(CDialog& dialog, int id, const std::wstring& text) { dialog.SetDlgItemText(id, text); }
void Click(CDialog& dialog, int id) { ::SendMessageW(dialog.GetDlgItemHwnd(id), BM_CLICK, 0, 0); }

// Whether the painted client area shows the 96-DPI background bitmap's own pixels, scaled,
// at the corners and the left edge, where no control covers it.
bool PaintedFromBitmap(CDialog& dialog, UINT nBitmapId)
{
    ::RedrawWindow(dialog.m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    HBITMAP bitmap = static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                       MAKEINTRESOURCEW(nBitmapId), IMAGE_BITMAP,
                                                       0, 0, LR_CREATEDIBSECTION));
    HDC memory = ::CreateCompatibleDC(nullptr);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    HDC window = ::GetDC(dialog.m_hWnd);
    BITMAP size{};
    ::GetObjectW(bitmap, sizeof size, &size);
    bool same = bitmap != nullptr;
    for (POINT point : {POINT{1, 1}, POINT{size.bmWidth - 2, 2}, POINT{3, size.bmHeight / 2},
                        POINT{size.bmWidth - 2, size.bmHeight - 2}})
        same = same && ShowsSkinColour(::GetPixel(window, Scaled(point.x), Scaled(point.y)),
                                       memory, point);
    ::ReleaseDC(dialog.m_hWnd, window);
    ::SelectObject(memory, previous);
    ::DeleteDC(memory);
    ::DeleteObject(bitmap);
    return same;
}

using Box = std::array<long, 4>;
Box Corners(const RECT& rect) { return {rect.left, rect.top, rect.right, rect.bottom}; }
// A button at a point of the 96-DPI layout, scaled, the size of one frame of its strip: the
// frames are 28 pixels high at 96 DPI and scaled as a whole.
Box ButtonAt(int x, int y, int frameWidth)
{
    return {Scaled(x), Scaled(y), Scaled(x) + Scaled(frameWidth), Scaled(y) + Scaled(28)};
}

// What the dialog looks like once it is up: client size, the button rectangles, the skin.
struct Layout
{
    RECT client, ok, cancel;
    bool bSkinned;
    long centreOffset; // from where the template centres the dialog
};
Layout LayoutOf(CDialog& dialog, UINT nBitmapId)
{
    Layout layout;
    dialog.GetClientRect(&layout.client);
    layout.ok = ClientRectOf(dialog, dialog.GetDlgItemHwnd(IDOK));
    layout.cancel = ClientRectOf(dialog, dialog.GetDlgItemHwnd(IDCANCEL));
    layout.bSkinned = PaintedFromBitmap(dialog, nBitmapId);
    layout.centreOffset = DistanceFromWorkAreaCentre(dialog.m_hWnd);
    return layout;
}

std::vector<SourceCategory> CategoriesWithEmptyOnes()
{
    auto categories = SampleCategories();
    categories.push_back(SourceCategory{L"Empty A", 1000, L"", false, {}});
    categories.push_back(SourceCategory{L"Empty B", 1000, L"", false, {}});
    return categories;
}

class EditingTest : public ::testing::Test
{
protected:
    void Open(const std::vector<SourceCategory>& categories)
    {
        catalogue.Write(categories);
        ASSERT_TRUE(dlg.Create());
    }
    void TearDown() override { dlg.DestroyWindow(); }

    std::string Sql(const std::string& sql) const { return catalogue.Text(sql); }
    double SqlDouble(const std::string& sql) const { return catalogue.Double(sql); }
    void SelectCategoryRow(int row)
    {
        CategoryList(dlg).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED,
                                        LVIS_SELECTED | LVIS_FOCUSED);
    }
    bool HasFocus(HWND control) const { return ::GetFocus() == control; }

    CatalogueBesideProgram catalogue;
    CMainDlg dlg;
};

using EditingCategoryTest = EditingTest;
using EditingUnitTest = EditingTest;
} // namespace

TEST_F(EditingCategoryTest, NewCategoryStoresNameAndNoteAndAnEmptyNoteAsNull)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    Layout layout{};
    std::wstring shownName, caption;
    DialogScript script({[&](CDialog& shown) {
        ASSERT_NE(dynamic_cast<CCategoryEditDlg*>(&shown), nullptr);
        layout = LayoutOf(shown, IDB_CATEGORY_BACKGROUND);
        caption = shown.GetWindowText();
        shownName = shown.GetDlgItemText(IDC_CATEGORY_NAME);
        SetField(shown, IDC_CATEGORY_NAME, L"  Pressure ");
        SetField(shown, IDC_CATEGORY_NOTE, L"");
        Click(shown, IDOK);
    }});
    Command(dlg, IDC_NEW_CATEGORY);

    EXPECT_EQ(script.shown, 1);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(caption, L"Category Properties");
    EXPECT_EQ(shownName, L"New category");
    EXPECT_EQ(Corners(layout.client), (Box{0, 0, Scaled(442), Scaled(226)}));
    EXPECT_EQ(Corners(layout.ok), ButtonAt(268, 173, 46));
    EXPECT_EQ(Corners(layout.cancel), ButtonAt(343, 173, 59));
    EXPECT_TRUE(layout.bSkinned);
    EXPECT_LE(layout.centreOffset, 4);

    // Stored as typed, untrimmed; the empty note as NULL; the new category is the only
    // selected one and is shown, empty, at the end of the list.
    EXPECT_EQ(Sql("SELECT CategoryName || '|' || quote(Note) || '|' || IsSelected FROM Category "
                  "WHERE CategoryId = 4"),
              "  Pressure |NULL|1");
    EXPECT_EQ(Sql("SELECT count(*) FROM Category WHERE IsSelected"), "1");
    EXPECT_EQ(RowTexts(CategoryList(dlg)).back(), L"  Pressure ");
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 3);
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo -   Pressure ");
    EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 4);
    EXPECT_EQ(UnitList(dlg).GetItemCount(), 0);
    EXPECT_TRUE(HasFocus(CategoryList(dlg).m_hWnd));
}

TEST_F(EditingCategoryTest, CancelledNewCategoryKeepsItsNameAndNothingTypedIsWrittenLater)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& shown) {
        SetField(shown, IDC_CATEGORY_NAME, L"Typed, then cancelled");
        SetField(shown, IDC_CATEGORY_NOTE, L"a note");
        Click(shown, IDCANCEL);
    }});
    Command(dlg, ID_CATEGORY_NEW);
    EXPECT_EQ(script.shown, 1);
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - New category");
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 3);

    // Later writes through the same record set must not carry the cancelled texts.
    SelectCategoryRow(1);
    SelectCategoryRow(3);
    EXPECT_THROW(dlg.GetCatalogue().Categories().Update(), std::exception) << "no edit left pending";
    EXPECT_EQ(Sql("SELECT CategoryName || '|' || quote(Note) FROM Category WHERE CategoryId = 4"),
              "New category|''");
}

TEST_F(EditingCategoryTest, NewCategoryEditsTheNewRecordWhenTheNameIsAlreadyTaken)
{
    auto categories = SampleCategories();
    categories.push_back(SourceCategory{L"New category", 1000, L"older", false, {}});
    Open(categories);
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& shown) {
        SetField(shown, IDC_CATEGORY_NAME, L"Fresh");
        Click(shown, IDOK);
    }});
    Command(dlg, IDC_NEW_CATEGORY);
    EXPECT_EQ(Sql("SELECT group_concat(CategoryName, '/') FROM Category WHERE CategoryId >= 4"),
              "New category/Fresh");
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Fresh");
}

TEST_F(EditingCategoryTest, PropertiesRenameUpdatesListAndTitleAndClearedNameIsNull)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    std::wstring shownNote;
    DialogScript script({[&](CDialog& shown) {
                             shownNote = shown.GetDlgItemText(IDC_CATEGORY_NOTE);
                             SetField(shown, IDC_CATEGORY_NAME, L"Distance");
                             Click(shown, IDOK);
                         },
                         [&](CDialog& shown) {
                             SetField(shown, IDC_CATEGORY_NAME, L"");
                             Click(shown, IDOK);
                         }});
    Command(dlg, ID_CATEGORY_PROPERTIES);
    EXPECT_EQ(shownNote, L"metres and feet");
    EXPECT_EQ(RowTexts(CategoryList(dlg))[1], L"Distance");
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 1);
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Distance");
    EXPECT_TRUE(HasFocus(CategoryList(dlg).m_hWnd));
    EXPECT_EQ(Sql("SELECT Note FROM Category WHERE CategoryId = 2"), "metres and feet");

    Command(dlg, IDC_RENAME_CATEGORY);
    EXPECT_EQ(Sql("SELECT quote(CategoryName) FROM Category WHERE CategoryId = 2"), "NULL");
    EXPECT_EQ(RowTexts(CategoryList(dlg))[1], L"");
    EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - ");
    EXPECT_EQ(script.shown, 2);
}

TEST_F(EditingCategoryTest, NameTheTableRefusesIsReportedAndNotStored)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& shown) {
                             SetField(shown, IDC_CATEGORY_NAME, std::wstring(256, L'x'));
                             Click(shown, IDOK);
                         },
                         [&](CDialog& shown) {
                             SetField(shown, IDC_CATEGORY_NAME, std::wstring(255, L'y'));
                             Click(shown, IDOK);
                         }});
    Command(dlg, IDC_RENAME_CATEGORY);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].type & MB_ICONMASK, UINT(MB_ICONSTOP));
    EXPECT_EQ(Sql("SELECT CategoryName FROM Category WHERE CategoryId = 2"), "Length");
    EXPECT_EQ(dlg.GetCatalogue().Categories().m_CategoryName, L"Length");

    // Nothing of the refused edit is left over for the next one.
    Command(dlg, IDC_RENAME_CATEGORY);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(Sql("SELECT length(CategoryName) || Note FROM Category WHERE CategoryId = 2"),
              "255metres and feet");
}

// Typing or pasting stops at the 255 characters a name or note holds, so OK cannot fail.
TEST_F(EditingCategoryTest, NameAndNoteFieldsOfBothDialogsTakeAtMost255Characters)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    const std::wstring pasted(300, L'p');
    auto pasteInto = [&](CDialog& dialog, int id) {
        ::SendMessageW(dialog.GetDlgItemHwnd(id), EM_SETSEL, 0, -1);
        ::SendMessageW(dialog.GetDlgItemHwnd(id), EM_REPLACESEL, TRUE,
                       reinterpret_cast<LPARAM>(pasted.c_str()));
    };
    DialogScript script({[&](CDialog& dialog) {
                             pasteInto(dialog, IDC_CATEGORY_NAME);
                             pasteInto(dialog, IDC_CATEGORY_NOTE);
                             Click(dialog, IDOK);
                         },
                         [&](CDialog& dialog) {
                             pasteInto(dialog, IDC_UNIT_NAME);
                             pasteInto(dialog, IDC_UNIT_NOTE);
                             Click(dialog, IDOK);
                         }});
    Command(dlg, IDC_RENAME_CATEGORY);
    Command(dlg, IDC_EDIT_UNIT);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(Sql("SELECT length(CategoryName) || '/' || length(Note) FROM Category WHERE "
                  "CategoryId = 2"),
              "255/255");
    EXPECT_EQ(Sql("SELECT count(*) FROM Units WHERE length(UnitName) = 255 AND length(Note) = 255"),
              "1");
}

TEST_F(EditingCategoryTest, CurrencyCategoryIsNeverDeleted)
{
    Open(SampleCategories());
    SelectCategoryRow(0);
    ScriptedMessageBoxes boxes({IDYES});
    Command(dlg, ID_CATEGORY_DELETE);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text,
              L"Category Currency (2026-07-06) can't be deleted.\n\nThis category has a special "
              L"purpose for updating currency rates\nfrom the European Central Bank (ECB).\n");
    EXPECT_EQ(boxes.boxes[0].caption, L"Kalvo");
    EXPECT_EQ(boxes.boxes[0].type, UINT(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(Sql("SELECT count(*) FROM Category"), "3");
    EXPECT_EQ(Sql("SELECT count(*) FROM Units WHERE CategoryId = 1"), "2");
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 0);
    // The menu moved the focus to the delete button; the refusal leaves it there.
    EXPECT_TRUE(HasFocus(dlg.GetDlgItemHwnd(IDC_DELETE_CATEGORY)));
}

TEST_F(EditingCategoryTest, CategoryWithUnitsIsNotDeletedAndNoQuestionIsAsked)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes({IDYES, IDYES});
    Command(dlg, IDC_DELETE_CATEGORY);
    ASSERT_EQ(boxes.boxes.size(), 1u);
    EXPECT_EQ(boxes.boxes[0].text, L"Category Length isn't empty.\n\nPlease delete units first.");
    EXPECT_EQ(boxes.boxes[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(Sql("SELECT count(*) FROM Category WHERE CategoryId = 2"), "1");
    EXPECT_EQ(SelectedRow(CategoryList(dlg)), 1);
    EXPECT_TRUE(HasFocus(CategoryList(dlg).m_hWnd));
}

TEST_F(EditingCategoryTest, DeletingMovesToTheNextCategoryOrAfterTheLastToThePreviousOne)
{
    Open(CategoriesWithEmptyOnes());
    SelectCategoryRow(3);
    {
        ScriptedMessageBoxes boxes({IDNO});
        Command(dlg, IDC_DELETE_CATEGORY);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, L"Are you sure to delete category Empty A ?");
        EXPECT_EQ(boxes.boxes[0].type, UINT(MB_YESNO | MB_ICONQUESTION));
        EXPECT_EQ(Sql("SELECT count(*) FROM Category"), "5");
        EXPECT_EQ(SelectedRow(CategoryList(dlg)), 3);
    }
    {
        ScriptedMessageBoxes boxes({IDYES});
        Command(dlg, IDC_DELETE_CATEGORY);
        EXPECT_EQ(RowTexts(CategoryList(dlg)),
                  (std::vector<std::wstring>{L"Currency (2026-07-06)", L"Length", L"Mass", L"Empty B"}));
        EXPECT_EQ(SelectedRow(CategoryList(dlg)), 3);
        EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Empty B");
        EXPECT_EQ(Sql("SELECT group_concat(CategoryName) FROM Category WHERE IsSelected"), "Empty B");
    }
    {
        ScriptedMessageBoxes boxes({IDYES});
        Command(dlg, IDC_DELETE_CATEGORY);
        EXPECT_EQ(CategoryList(dlg).GetItemCount(), 3);
        EXPECT_EQ(SelectedRow(CategoryList(dlg)), 2);
        EXPECT_EQ(dlg.GetWindowText(), L"Kalvo - Mass");
        EXPECT_EQ(dlg.GetCatalogue().CategoryId(), 3);
        EXPECT_EQ(RowTexts(UnitList(dlg)), (std::vector<std::wstring>{L"Kilogram"}));
    }
}

TEST_F(EditingCategoryTest, DeletingTheOnlyCategoryReportsNoError)
{
    catalogue.Write({SourceCategory{L"Currency", 1000, L"", false, {}},
                     SourceCategory{L"Alone", 1000, L"", true, {}}});
    catalogue.Execute("DELETE FROM Category WHERE CategoryId = 1");
    ASSERT_TRUE(dlg.Create());
    ScriptedMessageBoxes boxes({IDYES});
    Command(dlg, IDC_DELETE_CATEGORY);
    ASSERT_EQ(boxes.boxes.size(), 1u) << "the question only, no engine error";
    EXPECT_EQ(CategoryList(dlg).GetItemCount(), 0);
    EXPECT_EQ(Sql("SELECT count(*) FROM Category"), "0");
}

TEST_F(EditingUnitTest, NewUnitIsAddedToTheCategoryAndStoredFromTheDialog)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    Layout layout{};
    std::vector<std::wstring> shown;
    DialogScript script({[&](CDialog& dialog) {
        ASSERT_NE(dynamic_cast<CUnitEditDlg*>(&dialog), nullptr);
        layout = LayoutOf(dialog, IDB_UNIT_BACKGROUND);
        for (int id : {IDC_UNIT_CATEGORY, IDC_UNIT_NAME, IDC_UNIT_FACTOR, IDC_UNIT_SHIFT,
                       IDC_UNIT_NOTE, IDC_UNIT_VALUE})
            shown.push_back(dialog.GetDlgItemText(id));
        shown.push_back(::SendMessageW(dialog.GetDlgItemHwnd(IDC_UNIT_INVERT), BM_GETCHECK, 0, 0)
                            ? L"checked"
                            : L"unchecked");
        SetField(dialog, IDC_UNIT_NAME, L"yard");
        SetField(dialog, IDC_UNIT_FACTOR, L" 0.9144 ");
        SetField(dialog, IDC_UNIT_SHIFT, L"");
        ::SendMessageW(dialog.GetDlgItemHwnd(IDC_UNIT_INVERT), BM_SETCHECK, BST_CHECKED, 0);
        Click(dialog, IDOK);
    }});
    Command(dlg, IDC_NEW_UNIT);

    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"Length", L"New unit", L"1", L"0", L"", L"0",
                                                L"unchecked"}));
    EXPECT_EQ(Corners(layout.client), (Box{0, 0, Scaled(442), Scaled(316)}));
    EXPECT_EQ(Corners(layout.ok), ButtonAt(268, 263, 46));
    EXPECT_EQ(Corners(layout.cancel), ButtonAt(343, 263, 59));
    EXPECT_TRUE(layout.bSkinned);
    EXPECT_LE(layout.centreOffset, 4);

    EXPECT_EQ(Sql("SELECT UnitName || '|' || CategoryId || '|' || FactorMul || '|' || "
                  "quote(FactorAdd) || '|' || IsInvertResult || '|' || quote(Note) "
                  "FROM Units WHERE UnitId = (SELECT max(UnitId) FROM Units)"),
              "yard|2|0.9144|NULL|1|NULL");
    EXPECT_EQ(Sql("SELECT CurrentUnitId = (SELECT max(UnitId) FROM Units) FROM Category "
                  "WHERE CategoryId = 2"),
              "1");
    EXPECT_EQ(RowTexts(UnitList(dlg)),
              (std::vector<std::wstring>{L"foot", L"Inch", L"Kilometre", L"metre", L"yard"}));
    EXPECT_EQ(SelectedRow(UnitList(dlg)), 4);
    EXPECT_TRUE(HasFocus(UnitList(dlg).m_hWnd));
}

TEST_F(EditingUnitTest, CancelledNewUnitStaysAsInsertedWithTheTableDefaults)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& dialog) {
        SetField(dialog, IDC_UNIT_NAME, L"never stored");
        SetField(dialog, IDC_UNIT_FACTOR, L"42");
        Click(dialog, IDCANCEL);
    }});
    Command(dlg, ID_UNIT_NEW);
    EXPECT_EQ(script.shown, 1);
    EXPECT_EQ(Sql("SELECT UnitName || '|' || FactorMul FROM Units WHERE UnitId = "
                  "(SELECT max(UnitId) FROM Units)"),
              "New unit|1.0");
    EXPECT_EQ(RowTexts(UnitList(dlg))[SelectedRow(UnitList(dlg))], L"New unit");
    EXPECT_THROW(dlg.GetCatalogue().Units().Update(), std::exception) << "no edit left pending";
}

TEST_F(EditingUnitTest, NumberFieldsAcceptOnlyWholeNumbers)
{
    Open(SampleCategories());
    struct Case
    {
        const wchar_t* text;
        bool accepted;
        const char* stored; // FactorMul afterwards, as SQLite prints it
    };
    const Case cases[] = {
        {L" 2.5 ", true, "2.5"},    {L"\t.5\t", true, "0.5"},   {L"0", true, "0.0"},
        {L"0e5", true, "0.0"},      {L"+3", true, "3.0"},       {L"1e-007", true, "1.0e-07"},
        {L"2,5", false, ""},        {L"2.5x", false, ""},       {L".5e1x", false, ""},
        {L"-0", false, ""},         {L"+0", false, ""},         {L".0", false, ""},
        {L"1e", false, ""},         {L"inf", false, ""},        {L"0x10", false, ""},
        {L"abc", false, ""},        {L"1e-400", false, ""},
        // Long texts are read whole, not cut after 31 characters.
        {L"1000000000000000000000000000000000000000", true, "1.0e+39"},
        {L"1                                      x", false, ""},
    };
    const std::string stored = "SELECT UnitName || '|' || FactorMul FROM Units WHERE UnitId = " +
                               std::to_string(dlg.GetCatalogue().Units().m_UnitId);
    for (const Case& c : cases)
    {
        SCOPED_TRACE(ToUtf8(c.text));
        const std::string before = Sql(stored);
        ScriptedMessageBoxes boxes;
        bool bFocusedAndSelected = false;
        DialogScript script({[&](CDialog& dialog) {
            SetField(dialog, IDC_UNIT_FACTOR, c.text);
            if (!c.accepted)
                SetField(dialog, IDC_UNIT_NAME, L"renamed");
            Click(dialog, IDOK);
            if (c.accepted)
                return;
            HWND factor = dialog.GetDlgItemHwnd(IDC_UNIT_FACTOR);
            DWORD start = 1, end = 0;
            ::SendMessageW(factor, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                           reinterpret_cast<LPARAM>(&end));
            bFocusedAndSelected = HasFocus(factor) && start == 0 &&
                                  end == static_cast<DWORD>(std::wcslen(c.text));
            Click(dialog, IDCANCEL);
        }});
        Command(dlg, IDC_EDIT_UNIT);
        if (c.accepted)
        {
            EXPECT_TRUE(boxes.boxes.empty());
            EXPECT_EQ(Sql(stored), std::string("foot|") + c.stored);
            continue;
        }
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, L"Please enter a number.");
        EXPECT_EQ(boxes.boxes[0].type, UINT(MB_OK | MB_ICONEXCLAMATION));
        EXPECT_TRUE(bFocusedAndSelected);
        // The name, exchanged before the factor, is not stored either.
        EXPECT_EQ(Sql(stored), before);
    }
}

TEST_F(EditingUnitTest, ShiftIsCheckedAfterAValidFactorAndClearedFactorIsNull)
{
    Open(SampleCategories());
    ScriptedMessageBoxes boxes;
    bool bShiftFocused = false;
    DialogScript script({[&](CDialog& dialog) {
        SetField(dialog, IDC_UNIT_FACTOR, L"");
        SetField(dialog, IDC_UNIT_SHIFT, L"1 2");
        Click(dialog, IDOK);
        bShiftFocused = HasFocus(dialog.GetDlgItemHwnd(IDC_UNIT_SHIFT));
        SetField(dialog, IDC_UNIT_SHIFT, L"-273.15");
        Click(dialog, IDOK);
    }});
    Command(dlg, IDC_EDIT_UNIT);
    EXPECT_EQ(boxes.boxes.size(), 1u);
    EXPECT_TRUE(bShiftFocused);
    EXPECT_EQ(Sql("SELECT quote(FactorMul) || '|' || FactorAdd FROM Units WHERE UnitName = 'foot'"),
              "NULL|-273.15");
}

TEST_F(EditingUnitTest, NumbersShowFifteenDigitsAndOkStoresThemSoCancelDoesNot)
{
    auto categories = SampleCategories();
    categories[1].units[0].factor = 1.0 / 3.0; // metre
    Open(categories);
    UnitList(dlg).SetItemState(3, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ScriptedMessageBoxes boxes;
    std::wstring shownFactor;
    DialogScript script({[&](CDialog& dialog) {
                             shownFactor = dialog.GetDlgItemText(IDC_UNIT_FACTOR);
                             Click(dialog, IDCANCEL);
                         },
                         [&](CDialog& dialog) { Click(dialog, IDOK); }});
    const std::string exact = "SELECT FactorMul = 1.0 / 3 FROM Units WHERE UnitName = 'metre'";
    Command(dlg, IDC_EDIT_UNIT);
    EXPECT_EQ(shownFactor, L"0.333333333333333");
    EXPECT_EQ(Sql(exact), "1");
    Command(dlg, IDC_EDIT_UNIT);
    EXPECT_EQ(Sql(exact), "0");
    EXPECT_EQ(Sql("SELECT FactorMul = 0.333333333333333 FROM Units WHERE UnitName = 'metre'"), "1");
}

TEST_F(EditingUnitTest, UnitHoldingValuesNoTextReadsAsCanStillBeConfirmed)
{
    Open(SampleCategories());
    // A factor from an overflowing entry and a value toggled to -0 on the keypad.
    CRecordsetUnit& units = dlg.GetCatalogue().Units();
    units.Edit();
    units.m_FactorMul = std::numeric_limits<double>::infinity();
    units.m_UserValue = -0.0;
    units.Update();
    ScriptedMessageBoxes boxes;
    std::wstring shownFactor, shownValue;
    DialogScript script({[&](CDialog& dialog) {
        shownFactor = dialog.GetDlgItemText(IDC_UNIT_FACTOR);
        shownValue = dialog.GetDlgItemText(IDC_UNIT_VALUE);
        SetField(dialog, IDC_UNIT_NAME, L"ft");
        Click(dialog, IDOK);
    }});
    Command(dlg, IDC_EDIT_UNIT);
    EXPECT_TRUE(boxes.boxes.empty());
    EXPECT_EQ(shownFactor, L"inf");
    EXPECT_EQ(shownValue, L"-0");
    EXPECT_TRUE(std::isinf(SqlDouble("SELECT FactorMul FROM Units WHERE UnitName = 'ft'")));
    const double value = SqlDouble("SELECT UserValue FROM Units WHERE UnitName = 'ft'");
    EXPECT_TRUE(value == 0.0 && std::signbit(value));
}

TEST_F(EditingUnitTest, DeletingSelectsTheNextUnitOrAfterTheLastThePreviousOne)
{
    Open(SampleCategories());
    {
        ScriptedMessageBoxes boxes({IDNO});
        Command(dlg, ID_UNIT_DELETE);
        ASSERT_EQ(boxes.boxes.size(), 1u);
        EXPECT_EQ(boxes.boxes[0].text, L"Are you sure to delete unit foot ?");
        EXPECT_EQ(boxes.boxes[0].type, UINT(MB_YESNO | MB_ICONEXCLAMATION));
        EXPECT_EQ(UnitList(dlg).GetItemCount(), 4);
        EXPECT_TRUE(HasFocus(UnitList(dlg).m_hWnd));
    }
    {
        ScriptedMessageBoxes boxes({IDYES});
        Command(dlg, IDC_DELETE_UNIT);
        EXPECT_EQ(RowTexts(UnitList(dlg)),
                  (std::vector<std::wstring>{L"Inch", L"Kilometre", L"metre"}));
        EXPECT_EQ(SelectedRow(UnitList(dlg)), 0);
        EXPECT_EQ(RowTexts(ResultList(dlg)), (std::vector<std::wstring>{L"Kilometre", L"metre"}));
        EXPECT_EQ(Sql("SELECT u.UnitName FROM Category c JOIN Units u ON u.UnitId = c.CurrentUnitId "
                      "WHERE c.CategoryId = 2"),
                  "Inch");
    }
    // metre, the last one and the source unit: Kilometre follows as current and as source.
    UnitList(dlg).SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    {
        ScriptedMessageBoxes boxes({IDYES});
        Command(dlg, IDC_DELETE_UNIT);
        EXPECT_EQ(RowTexts(UnitList(dlg)), (std::vector<std::wstring>{L"Inch", L"Kilometre"}));
        EXPECT_EQ(SelectedRow(UnitList(dlg)), 1);
        EXPECT_EQ(SourceUnitField(dlg).GetWindowText(), L"Kilometre");
        EXPECT_EQ(Sql("SELECT u.UnitName FROM Category c JOIN Units u ON u.UnitId = c.SourceUnitId "
                      "WHERE c.CategoryId = 2"),
                  "Kilometre");
    }
}

TEST_F(EditingUnitTest, EmptyCategoryOffersNoUnitToEditOrDeleteAndTakesANewOne)
{
    Open(CategoriesWithEmptyOnes());
    SelectCategoryRow(3);
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& dialog) { Click(dialog, IDOK); }});
    Command(dlg, IDC_EDIT_UNIT);
    Command(dlg, IDC_DELETE_UNIT);
    EXPECT_EQ(script.shown, 0);
    EXPECT_TRUE(boxes.boxes.empty());

    Command(dlg, IDC_NEW_UNIT);
    EXPECT_EQ(script.shown, 1);
    EXPECT_EQ(RowTexts(UnitList(dlg)), (std::vector<std::wstring>{L"New unit"}));
    EXPECT_EQ(Sql("SELECT count(*) FROM Units WHERE CategoryId = 4"), "1");

    // Deleting the only unit leaves the category without a current unit, without an error.
    ScriptedMessageBoxes answers({IDYES});
    Command(dlg, IDC_DELETE_UNIT);
    EXPECT_EQ(answers.boxes.size(), 1u);
    EXPECT_EQ(UnitList(dlg).GetItemCount(), 0);
}

// The values follow a changed factor at once, in the catalogue and in the result list.
TEST_F(EditingUnitTest, ChangedFactorIsShownAndStoredAtOnce)
{
    Open(SampleCategories());
    Command(dlg, IDC_KEY_CLEAR);
    Command(dlg, IDC_KEY_0 + 3); // 3 metres
    ASSERT_EQ(RowTexts(ResultList(dlg))[SelectedRow(ResultList(dlg))], L"Kilometre");
    ScriptedMessageBoxes boxes;
    DialogScript script({[&](CDialog& dialog) {
        SetField(dialog, IDC_UNIT_FACTOR, L"0.5");
        Click(dialog, IDOK);
    }});
    Command(dlg, ID_RESULT_PROPERTIES);
    EXPECT_EQ(WrongResultRows(dlg), std::vector<std::wstring>{});
    EXPECT_EQ(ResultList(dlg).GetItemText(SelectedRow(ResultList(dlg)), 1), L"6");
    EXPECT_EQ(SqlDouble("SELECT UserValue FROM Units WHERE UnitName = 'Kilometre'"), 6.0);
}

TEST_F(EditingUnitTest, ResultListPropertiesEditTheResultsUnitAndKeepTheFocus)
{
    Open(SampleCategories());
    ASSERT_EQ(RowTexts(ResultList(dlg))[SelectedRow(ResultList(dlg))], L"Kilometre");
    ScriptedMessageBoxes boxes;
    std::wstring shownName;
    DialogScript script({[&](CDialog& dialog) {
        shownName = dialog.GetDlgItemText(IDC_UNIT_NAME);
        SetField(dialog, IDC_UNIT_NAME, L"km");
        Click(dialog, IDOK);
    }});
    Command(dlg, ID_RESULT_PROPERTIES);
    EXPECT_EQ(shownName, L"Kilometre");
    EXPECT_EQ(RowTexts(UnitList(dlg)),
              (std::vector<std::wstring>{L"foot", L"Inch", L"km", L"metre"}));
    EXPECT_EQ(RowTexts(ResultList(dlg)), (std::vector<std::wstring>{L"foot", L"km", L"metre"}));
    EXPECT_EQ(Sql("SELECT count(*) FROM Units WHERE UnitName = 'km' AND FactorMul = 1000"), "1");
    EXPECT_TRUE(HasFocus(dlg.GetDlgItemHwnd(IDC_EDIT_UNIT)));
}
