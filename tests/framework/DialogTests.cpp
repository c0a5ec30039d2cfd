// The modal loop, driven from the modal-dialog seam: messages are posted once the dialog is up
// and the loop handles them as it would a user's input.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Controls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Calls = std::vector<std::string>;
constexpr UINT kFinish = WM_APP + 1; // ends the dialog with its wParam

// Records the PreTranslateMessage walk of key presses; consumes F6.
class WatchingEdit : public Hooked<CEdit>
{
public:
    Calls* walk = nullptr;
    int keys = 0;
    WatchingEdit()
    {
        hook = [this](UINT msg, WPARAM, LPARAM, LRESULT&)
        {
            keys += msg == WM_KEYDOWN;
            return false; // the edit still gets the key through Default()
        };
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN)
            walk->push_back("edit");
        return msg->message == WM_KEYDOWN && msg->wParam == VK_F6;
    }
};

// Consumes F5 and ends with 77.
class TestDialog : public Hooked<CDialog>
{
public:
    explicit TestDialog(CWnd* parent = nullptr, UINT id = IDD_TEST) : Hooked<CDialog>(id, parent)
    {
        edit.walk = &walk;
    }
    WatchingEdit edit;
    Calls walk;
    Calls calls;

    void DoDataExchange(CDataExchange& dx) override { dx.Control(IDC_EDIT, edit); }
    void OnOK() override
    {
        calls.push_back("OnOK");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        calls.push_back("OnCancel");
        CDialog::OnCancel();
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_KEYDOWN)
            return FALSE;
        walk.push_back("dialog");
        if (msg->wParam == VK_F5)
            EndDialog(77);
        return msg->wParam == VK_F5;
    }
    BEGIN_MSG_MAP(TestDialog)
    ON_MESSAGE(kFinish, OnFinish)
    END_MSG_MAP(Hooked<CDialog>)

private:
    LRESULT OnFinish(WPARAM wParam, LPARAM)
    {
        calls.push_back("finish");
        EndDialog(static_cast<INT_PTR>(wParam));
        return 0;
    }
};

TestDialog& Shown(CDialog& dialog)
{
    return static_cast<TestDialog&>(dialog);
}

} // namespace

TEST(ModalDialog, OwnerIsDisabledWhileItRunsAndTheResultComesBack)
{
    CWnd owner;
    ASSERT_TRUE(CreateTopLevel(owner));
    TestDialog dialog(&owner);
    HWND shown = nullptr;
    EXPECT_EQ(RunModal(dialog,
                       [&](CDialog& d)
                       {
                           shown = d.m_hWnd;
                           EXPECT_TRUE(d.IsWindowVisible());
                           EXPECT_EQ(::GetWindow(d.m_hWnd, GW_OWNER), owner.m_hWnd);
                           EXPECT_FALSE(owner.IsWindowEnabled());
                           d.PostMessage(kFinish, 3);
                           d.EndDialog(1234); // at once: the posted message is never handled
                       }),
              1234);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_FALSE(::IsWindow(shown));
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(dialog.calls.empty());

    TestDialog missing(&owner, 4242);
    EXPECT_EQ(missing.DoModal(), -1);
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ModalDialog, OwnerThatIsADialogDisablesItselfThroughModalState)
{
    class OwnerDialog : public CDialog
    {
    public:
        OwnerDialog() : CDialog(IDD_PLAIN) {}
        Calls calls;
        void BeginModalState() override
        {
            calls.push_back("begin");
            CDialog::BeginModalState();
        }
        void EndModalState() override
        {
            calls.push_back("end");
            CDialog::EndModalState();
        }
    } owner;
    ASSERT_TRUE(owner.Create());
    TestDialog dialog(&owner);
    RunModal(dialog,
             [&](CDialog& d)
             {
                 EXPECT_EQ(owner.calls, Calls{"begin"});
                 EXPECT_FALSE(owner.IsWindowEnabled());
                 d.EndDialog(IDOK);
             });
    EXPECT_EQ(owner.calls, (Calls{"begin", "end"}));
    EXPECT_TRUE(owner.IsWindowEnabled());
}

TEST(ModalDialog, PreTranslateWalksFromTheControlUpToTheDialog)
{
    TestDialog dialog;
    EXPECT_EQ(RunModal(dialog,
                       [](CDialog& d)
                       {
                           HWND edit = Shown(d).edit.m_hWnd;
                           PostKey(edit, 'A');   // seen by both, then delivered to the edit
                           PostKey(edit, VK_F6); // consumed by the edit: the dialog never sees it
                           PostKey(edit, VK_F5); // consumed by the dialog, which ends itself
                       }),
              77);
    EXPECT_EQ(dialog.walk, (Calls{"edit", "dialog", "edit", "edit", "dialog"}));
    EXPECT_EQ(dialog.edit.keys, 1);
}

TEST(ModalDialog, EnterEscapeAndTheCloseBoxReachOnOKAndOnCancel)
{
    TestDialog enter;
    EXPECT_EQ(RunModal(enter, [](CDialog& d) { PostKey(Shown(d).edit.m_hWnd, VK_RETURN); }), IDOK);
    EXPECT_EQ(enter.calls, Calls{"OnOK"});
    TestDialog escape;
    EXPECT_EQ(RunModal(escape, [](CDialog& d) { PostKey(Shown(d).edit.m_hWnd, VK_ESCAPE); }),
              IDCANCEL);
    EXPECT_EQ(escape.calls, Calls{"OnCancel"});

    // The dialog manager alone ignores the close box while Cancel is disabled.
    TestDialog close;
    EXPECT_EQ(RunModal(close,
                       [](CDialog& d)
                       {
                           ::EnableWindow(d.GetDlgItemHwnd(IDCANCEL), FALSE);
                           d.PostMessage(WM_SYSCOMMAND, SC_CLOSE);
                           d.PostMessage(kFinish, 4);
                       }),
              IDCANCEL);
    EXPECT_EQ(close.calls, Calls{"OnCancel"});

    // A map entry for IDOK or IDCANCEL comes before the virtuals.
    TestDialog mapped;
    mapped.hook = [&](UINT msg, WPARAM wParam, LPARAM, LRESULT&)
    {
        if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            mapped.calls.push_back("map " + std::to_string(LOWORD(wParam)));
        return msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL);
    };
    EXPECT_EQ(RunModal(mapped,
                       [](CDialog& d)
                       {
                           PostKey(Shown(d).edit.m_hWnd, VK_RETURN);
                           d.PostMessage(WM_CLOSE);
                           d.PostMessage(kFinish, 9);
                       }),
              9);
    EXPECT_EQ(mapped.calls, (Calls{"map 1", "map 2", "finish"}));
}

TEST(ModalDialog, QuitMessageEndsTheLoopAndIsPostedAgain)
{
    CWnd owner;
    ASSERT_TRUE(CreateTopLevel(owner));
    TestDialog dialog(&owner);
    EXPECT_EQ(RunModal(dialog, [](CDialog&) { ::PostQuitMessage(9); }), -1);
    EXPECT_EQ(dialog.m_hWnd, nullptr);
    EXPECT_TRUE(owner.IsWindowEnabled());
    MSG msg;
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 9u);
}
