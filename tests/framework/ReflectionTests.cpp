// A dialog offers its controls' notifications, commands and colour requests to the controls'
// own objects first. The controls send them for real, asked to paint into a memory bitmap
// (no shown window needed).
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Controls.h"
#include "framework/Gdi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace
{

void PrintClient(HWND control)
{
    CClientDC screen(nullptr);
    CMemoryDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(screen));
    // A bare memory DC clips to one pixel, and the control would draw no items.
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 300, 200);
    {
        CSelectObject select(memory, bitmap);
        ::SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory.m_hDC), PRF_CLIENT);
    }
    ::DeleteObject(bitmap);
}

class Reflection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        brush.CreateSolidBrush(RGB(10, 20, 30));
        // The list answers custom draw; the edit answers colours and sees its commands.
        list.hook = [this](UINT msg, WPARAM, LPARAM lParam, LRESULT& result)
        {
            if (msg != OCM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code != NM_CUSTOMDRAW)
                return false;
            stages.push_back(reinterpret_cast<NMCUSTOMDRAW*>(lParam)->dwDrawStage);
            result = stages.back() == CDDS_PREPAINT ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
            return true;
        };
        edit.hook = [this](UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
        {
            if (msg == OCM_COMMAND)
                editCommands.push_back(HIWORD(wParam));
            result = reinterpret_cast<LRESULT>(brush.GetSafeHandle());
            return msg == OCM_CTLCOLOREDIT;
        };
        // The dialog's own entries record what reaches them.
        dialog.hook = [this](UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
        {
            if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == LVN_ITEMCHANGING)
                result = blockSelection;
            if (msg == WM_NOTIFY)
                parentSaw.push_back(reinterpret_cast<NMHDR*>(lParam)->code);
            else if (msg == WM_CTLCOLOREDIT)
                parentSaw.push_back(msg);
            else if (msg == WM_COMMAND)
                parentSaw.push_back(static_cast<UINT>(wParam)); // id and code
            return msg == WM_NOTIFY || msg == WM_CTLCOLOREDIT;
        };
        ASSERT_TRUE(dialog.Create());
        ASSERT_TRUE(list.SubclassDlgItem(IDC_LIST, &dialog));
        ASSERT_TRUE(edit.SubclassDlgItem(IDC_EDIT, &dialog));
        list.InsertColumn(0, L"Unit", LVCFMT_LEFT, 80);
        list.InsertItem(0, L"metre");
        list.InsertItem(1, L"foot");
        parentSaw.clear();
    }
    bool Saw(UINT what) const { return std::count(parentSaw.begin(), parentSaw.end(), what) > 0; }

    Hooked<CDialog> dialog{IDD_TEST};
    Hooked<CListCtrl> list;
    Hooked<CEdit> edit;
    CGdiBrush brush;
    std::vector<DWORD> stages;
    std::vector<WORD> editCommands;
    std::vector<UINT> parentSaw;
    bool blockSelection = false;
};

} // namespace

TEST_F(Reflection, ChildThatHandlesANotificationAnswersForTheParent)
{
    PrintClient(list.m_hWnd);
    ASSERT_FALSE(stages.empty());
    EXPECT_EQ(stages.front(), static_cast<DWORD>(CDDS_PREPAINT));
    // The list asks about each item only if CDRF_NOTIFYITEMDRAW came back through the dialog.
    EXPECT_NE(std::find(stages.begin(), stages.end(), static_cast<DWORD>(CDDS_ITEMPREPAINT)),
              stages.end());
    EXPECT_FALSE(Saw(static_cast<UINT>(NM_CUSTOMDRAW)));
}

TEST_F(Reflection, NotificationTheChildIgnoresIsAnsweredByTheParent)
{
    // Only a TRUE that arrives through DWLP_MSGRESULT stops the list from changing.
    blockSelection = true;
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(Saw(static_cast<UINT>(LVN_ITEMCHANGING)));
    EXPECT_EQ(list.GetItemState(1, LVIS_SELECTED), 0u);
    blockSelection = false;
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
}

TEST_F(Reflection, ColoursAndCommandsGoToTheControlThatHasAnObject)
{
    PrintClient(edit.m_hWnd);
    EXPECT_FALSE(Saw(WM_CTLCOLOREDIT));
    CMemoryDC dc;
    dc.CreateCompatibleDC(nullptr);
    const auto hdc = reinterpret_cast<WPARAM>(dc.m_hDC);
    EXPECT_EQ(dialog.SendMessage(WM_CTLCOLOREDIT, hdc, reinterpret_cast<LPARAM>(edit.m_hWnd)),
              reinterpret_cast<LRESULT>(brush.GetSafeHandle()));
    EXPECT_FALSE(Saw(WM_CTLCOLOREDIT));
    // The second edit has no object: the parent's entry answers (here with the default, 0).
    dialog.SendMessage(WM_CTLCOLOREDIT, hdc,
                       reinterpret_cast<LPARAM>(dialog.GetDlgItemHwnd(IDC_EDIT2)));
    EXPECT_TRUE(Saw(WM_CTLCOLOREDIT));

    // Reflected commands are offered to the child first and still reach the parent's map when
    // the child leaves them.
    edit.SetWindowText(L"5");
    EXPECT_NE(std::find(editCommands.begin(), editCommands.end(), EN_CHANGE), editCommands.end());
    EXPECT_TRUE(Saw(MAKEWPARAM(IDC_EDIT, EN_CHANGE)));
}
