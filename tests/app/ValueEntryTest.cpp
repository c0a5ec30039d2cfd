// The source value typed on the real main window: keys go through its modal loop.
#include "tests/app/AppTestSupport.h"

#include "tests/Checks.h"
#include "tests/app/ModalScript.h"

#include "app/MainDlg.h"

#include "engine/ValueText.h"

#include "framework/Clipboard.h"

#include "store/Utf8.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
double StoredValue(const CatalogueBesideProgram& catalogue, const char* unitName)
{
    return catalogue.Double(std::string("SELECT UserValue FROM Units WHERE UnitName = '") +
                            unitName + "'");
}

// Each start shows the value stored last: a script that types from scratch clears first.
const ModalStep kClear = [] { PressKey(VK_ESCAPE); };

using ValueEntryTest = SampleCatalogueTest;
} // namespace

// The keys' rules are the value entry's own; here, that each key reaches it.
TEST_F(ValueEntryTest, KeyboardKeysEditTheValue)
{
    CMainDlg dlg;
    std::vector<std::wstring> shown;
    auto read = [&] { shown.push_back(ValueField(dlg).GetWindowText()); };
    RunModalScript(dlg, {kClear, [] { TypeChars(L"0.5"); }, [] { PressKey(VK_BACK); }, read,
                         [] { TypeChars(L"7-"); }, read, [] { PressKey(VK_ESCAPE); }, read});
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"0.", L"-0.7", L"0"}));
}

TEST_F(ValueEntryTest, KeypadButtonsTypeLikeTheKeyboard)
{
    CMainDlg dlg;
    std::wstring shown;
    RunModalScript(dlg, {kClear, [&] {
                             for (int id : {6101, 6102, IDC_KEY_POINT, 6105, IDC_KEY_SIGN})
                                 ::SendMessageW(dlg.GetDlgItemHwnd(id), BM_CLICK, 0, 0);
                         },
                         [&] { shown = ValueField(dlg).GetWindowText(); }});
    EXPECT_EQ(shown, L"-12.5");
}

TEST_F(ValueEntryTest, TypingOverASelectionEditsTheShownText)
{
    CMainDlg dlg;
    std::vector<std::wstring> shown;
    RunModalScript(dlg, {kClear, [] { TypeChars(L"12.5-"); },
                         [&] { ValueField(dlg).SetSel(1, 3); },
                         [] { TypeChars(L"7"); },
                         [&] { shown.push_back(ValueField(dlg).GetWindowText()); },
                         [&] { ValueField(dlg).SetSel(0, -1); },
                         [] { PressKey(VK_BACK); },
                         [&] { shown.push_back(ValueField(dlg).GetWindowText()); }});
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"-7.5", L"0"}));
}

TEST_F(ValueEntryTest, PasteKeepsTheDigitsOfTheClipboardText)
{
    auto pasted = [&](const std::wstring& clipboard) {
        CMainDlg dlg;
        std::wstring shown;
        RunModalScript(dlg, {kClear, [] { TypeChars(L"42"); },
                             [&] { CopyTextToClipboard(dlg.m_hWnd, clipboard); },
                             [] { PressKeyWith(VK_CONTROL, 'V'); },
                             [&] { shown = ValueField(dlg).GetWindowText(); }});
        return shown;
    };
    EXPECT_EQ(pasted(L"12,5"), L"125");
    EXPECT_EQ(pasted(L"abc"), L"42") << "no number: nothing changes";
    EXPECT_EQ(pasted(std::wstring(400, L'9')), L"42") << "no finite number: nothing changes";
}

TEST_F(ValueEntryTest, CtrlCCopiesTheValueWhateverHasTheFocus)
{
    CMainDlg dlg;
    std::wstring copied;
    RunModalScript(dlg, {kClear, [] { TypeChars(L"-2.5"); },
                         [&] { UnitList(dlg).SetFocus(); },
                         [] { PressKeyWith(VK_CONTROL, 'C'); },
                         [&] { copied = GetClipboardText(dlg.m_hWnd); }});
    EXPECT_EQ(copied, L"-2.5");
}

TEST_F(ValueEntryTest, EveryUnitStoresItsConvertedValueAndTheSourceKeepsItsBits)
{
    {
        CMainDlg dlg;
        RunModalScript(dlg, {kClear, [] { TypeChars(L"3"); }});
    }
    EXPECT_EQ(StoredValue(catalogue, "metre"), 3);
    EXPECT_EQ(StoredValue(catalogue, "Kilometre"), (3 / 1000.0) * 1);
    EXPECT_EQ(StoredValue(catalogue, "foot"), (3 / 0.3048) * 1);
    EXPECT_EQ(StoredValue(catalogue, "Inch"), (3 / 0.0254) * 1);

    // Negative zero survives the database and a restart.
    {
        CMainDlg dlg;
        RunModalScript(dlg, {[] { PressKey(VK_ESCAPE); }, [] { TypeChars(L"-"); }});
    }
    EXPECT_TRUE(SameBits(StoredValue(catalogue, "metre"), -0.0));
    std::wstring shownAfterRestart;
    {
        CMainDlg dlg;
        RunModalScript(dlg, {[&] { shownAfterRestart = ValueField(dlg).GetWindowText(); }});
    }
    EXPECT_EQ(shownAfterRestart, L"-0");
    EXPECT_TRUE(SameBits(StoredValue(catalogue, "metre"), -0.0));
}

// The largest values the keypad takes, and larger ones a conversion gives, come back whole
// after a restart and after Set as Source: nothing is turned into 0.
TEST_F(ValueEntryTest, LargeValuesSurviveARestartAndSetAsSource)
{
    {
        CMainDlg dlg;
        RunModalScript(dlg, {kClear, [] { TypeChars(L"12345678901234567890"); }});
    }
    const double typed = 12345678901234567890.0;
    EXPECT_EQ(StoredValue(catalogue, "metre"), typed);
    std::wstring shown;
    double kilometres = 0.0;
    {
        CMainDlg dlg;
        RunModalScript(dlg, {[&] { shown = ValueField(dlg).GetWindowText(); }});
        kilometres = StoredValue(catalogue, "Kilometre");
    }
    // 17 significant digits, which read back as the same double.
    EXPECT_EQ(shown, L"12345678901234567000");
    EXPECT_EQ(StoredValue(catalogue, "metre"), typed);
    EXPECT_EQ(kilometres, typed / 1000.0);

    // Inch holds 4.86e20: as the source it keeps that value and every unit keeps its own.
    const double inches = StoredValue(catalogue, "Inch");
    ASSERT_GT(inches, 1e20);
    {
        CMainDlg dlg;
        RunModalScript(dlg, {[&] {
            for (int row = 0; row < UnitList(dlg).GetItemCount(); ++row)
                if (UnitList(dlg).GetItemText(row, 0) == L"Inch")
                    UnitList(dlg).SetItemState(row, LVIS_SELECTED | LVIS_FOCUSED,
                                                 LVIS_SELECTED | LVIS_FOCUSED);
            dlg.SendMessage(WM_COMMAND, ID_UNIT_SET_AS_SOURCE, 0);
        }});
    }
    EXPECT_EQ(StoredValue(catalogue, "Inch"), inches);
    EXPECT_NEAR(StoredValue(catalogue, "metre"), typed, typed * 1e-15);
}

// Whatever the source unit holds comes back at the next start bit for bit, and every unit
// is converted from it: huge values, the largest double, and a zero factor's infinities.
TEST_F(ValueEntryTest, StoredValuesOfAnySizeComeBackExactly)
{
    const double huge = std::numeric_limits<double>::max();
    const double infinity = std::numeric_limits<double>::infinity();
    for (const double stored : {1e62, -3.5e200, huge, infinity, -infinity})
    {
        {
            CMainDlg writer;
            ASSERT_TRUE(writer.Create());
            writer.GetCatalogue().Database().Execute(L"UPDATE Units SET UserValue = " +
                                        (std::isinf(stored)
                                             ? std::wstring(stored > 0 ? L"9e999" : L"-9e999")
                                             : FormatValue(stored, 400)) +
                                        L" WHERE UnitName = 'metre'");
            writer.DestroyWindow();
        }
        ASSERT_EQ(StoredValue(catalogue, "metre"), stored);
        CMainDlg dlg;
        ASSERT_TRUE(dlg.Create());
        const std::wstring shown = ValueField(dlg).GetWindowText();
        dlg.DestroyWindow();
        double read = 0.0;
        if (std::isinf(stored))
            EXPECT_EQ(shown, stored > 0 ? L"inf" : L"-inf");
        else
            EXPECT_TRUE(ParseNumber(shown, read) && SameBits(read, stored)) << ToUtf8(shown);
        EXPECT_TRUE(SameBits(StoredValue(catalogue, "metre"), stored)) << stored;
        EXPECT_EQ(StoredValue(catalogue, "Kilometre"), stored / 1000.0) << stored;
    }
}

// A key sets the result texts in place; what shows must be what a refill shows, and rows
// changed behind the list (a unit renamed elsewhere) bring a refill.
TEST_F(ValueEntryTest, ResultListFollowsEveryKey)
{
    CMainDlg dlg;
    auto rows = [&] {
        std::vector<std::wstring> texts;
        for (int i = 0; i < ResultList(dlg).GetItemCount(); ++i)
            texts.push_back(ResultList(dlg).GetItemText(i, 0) + L"=" +
                            ResultList(dlg).GetItemText(i, 1));
        return texts;
    };
    std::vector<std::wstring> refreshed, refilled, afterRename;
    RunModalScript(dlg, {kClear, [] { TypeChars(L"2500"); },
                         [&] {
                             refreshed = rows();
                             dlg.SendMessage(WM_COMMAND, ID_SORT_DEFAULT); // refills
                             refilled = rows();
                             dlg.GetCatalogue().Database().Execute(
                                 L"UPDATE Units SET UnitName = 'yard' WHERE UnitName = 'foot'");
                         },
                         [] { TypeChars(L"0"); }, [&] { afterRename = rows(); }});
    EXPECT_EQ(refreshed, (std::vector<std::wstring>{L"foot=8202.1", L"Kilometre=2.5",
                                                    L"metre=2500"}));
    EXPECT_EQ(refreshed, refilled);
    EXPECT_EQ(afterRename, (std::vector<std::wstring>{L"Kilometre=25", L"metre=25000",
                                                      L"yard=82021"}));
}
