// Dialog data exchange both ways, and a failed validation handing the field back to the user.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

// A value containing '?' is refused.
class ValueDialog : public CDialog
{
public:
    ValueDialog() : CDialog(IDD_TEST) {}
    std::wstring m_value = L"12.5";
    std::wstring m_unit = L"metre";
    BOOL m_round = BST_CHECKED;
    CEdit m_edit;
    int extraId = 0;

    void DoDataExchange(CDataExchange& dx) override
    {
        dx.Control(IDC_EDIT, m_edit);
        dx.Text(IDC_EDIT, m_value);
        if (dx.m_bSaveAndValidate && m_value.find(L'?') != std::wstring::npos)
            dx.Fail();
        dx.Text(IDC_COMBO, m_unit);
        dx.Check(IDC_CHECK, m_round);
        if (extraId)
            dx.Text(extraId, m_value);
    }
};

} // namespace

TEST(DataExchange, ValuesGoToTheControlsAndComeBack)
{
    ValueDialog dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.GetDlgItemText(IDC_EDIT), L"12.5");
    EXPECT_EQ(dialog.GetDlgItemText(IDC_COMBO), L"metre");
    EXPECT_EQ(::IsDlgButtonChecked(dialog.m_hWnd, IDC_CHECK), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(CWnd::FromHandlePermanent(dialog.GetDlgItemHwnd(IDC_EDIT)), &dialog.m_edit);

    dialog.SetDlgItemText(IDC_EDIT, L"3");
    dialog.SetDlgItemText(IDC_COMBO, L"foot");
    ::CheckDlgButton(dialog.m_hWnd, IDC_CHECK, BST_UNCHECKED);
    // The control bound on the first exchange stays bound to the same object.
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(dialog.m_value, L"3");
    EXPECT_EQ(dialog.m_unit, L"foot");
    EXPECT_EQ(dialog.m_round, BST_UNCHECKED);

    dialog.extraId = 4711;
    EXPECT_THROW(dialog.UpdateData(FALSE), std::invalid_argument);
}

TEST(DataExchange, FailureFocusesTheFieldWithItsTextSelected)
{
    ValueDialog dialog;
    ASSERT_TRUE(dialog.Create());
    dialog.ShowWindow(SW_SHOWNA);
    dialog.GetDlgItem(IDC_EDIT2)->SetFocus();
    dialog.SetDlgItemText(IDC_EDIT, L"12?");
    dialog.SetDlgItemText(IDC_COMBO, L"foot");
    dialog.m_edit.SetSel(1, 1);

    EXPECT_FALSE(dialog.UpdateData(TRUE));
    EXPECT_EQ(CWnd::GetFocus(), dialog.m_edit.m_hWnd);
    int start = -1;
    int end = -1;
    dialog.m_edit.GetSel(start, end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 3);
    EXPECT_EQ(dialog.m_unit, L"metre") << "the exchange stops at the failing field";
}
