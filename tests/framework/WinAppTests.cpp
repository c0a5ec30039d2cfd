// The program object: optional for everything else; AfxWinMain's ways to end; what dialogs
// take from it.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Dialog.h"
#include "framework/Gdi.h"
#include "framework/WinApp.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace
{

class PingWindow : public CWnd
{
public:
    int pings = 0;
    BEGIN_MSG_MAP(PingWindow)
    ON_MESSAGE(WM_APP, OnPing)
    END_MSG_MAP(CWnd)

private:
    LRESULT OnPing(WPARAM, LPARAM) { return ++pings; }
};

class TestApp : public CWinApp
{
public:
    enum class Start
    {
        Refuse,
        RunLoop,
        Throw
    } start = Start::Refuse;
    PingWindow window;

    BOOL InitInstance() override
    {
        if (start == Start::Throw)
            throw std::runtime_error("No catalogue.");
        if (start == Start::Refuse)
            return FALSE;
        ::PostQuitMessage(23);
        return TRUE;
    }
    int ExitInstance() override { return start == Start::Refuse ? 17 : CWinApp::ExitInstance(); }
};

} // namespace

TEST(WinApp, EverythingWorksWithoutAnApplicationObject)
{
    EXPECT_EQ(AfxGetApp(), nullptr);
    EXPECT_EQ(AfxGetInstanceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(AfxWinMain(nullptr), -1);
}

TEST(WinApp, RunsTheMessageLoopOnlyWhenInitInstanceSaysSo)
{
    TestApp app;
    EXPECT_EQ(AfxGetApp(), &app);
    ASSERT_TRUE(CreateTopLevel(app.window));
    app.window.PostMessage(WM_APP);
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr)), 17);
    EXPECT_EQ(app.window.pings, 0);

    app.start = TestApp::Start::RunLoop;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr)), 23) << "the quit code, through ExitInstance";
    EXPECT_EQ(app.window.pings, 1);

    app.start = TestApp::Start::Throw;
    MessageBoxLog log;
    EXPECT_EQ(AfxWinMain(::GetModuleHandleW(nullptr)), -1);
    ASSERT_EQ(log.boxes.size(), 1u);
    EXPECT_EQ(log.boxes[0].text, L"No catalogue.");
}

TEST(WinApp, ModalDialogWithoutAParentIsOwnedByTheMainWindow)
{
    TestApp app;
    ASSERT_TRUE(CreateTopLevel(app.window));
    app.m_pMainWnd = &app.window;
    CDialog dialog(IDD_PLAIN);
    ScopedModalDialogHandler handler(
        [&](CDialog& shown)
        {
            EXPECT_EQ(::GetWindow(shown.m_hWnd, GW_OWNER), app.window.m_hWnd);
            EXPECT_FALSE(app.window.IsWindowEnabled());
            shown.EndDialog(IDOK);
        });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(app.window.IsWindowEnabled());
}

TEST(WinApp, DialogColoursComeFromTheApplication)
{
    TestApp app;
    CDialog dialog(IDD_TEST);
    ASSERT_TRUE(dialog.Create());
    CMemoryDC dc;
    dc.CreateCompatibleDC(nullptr);
    auto colourFor = [&](UINT msg, HWND control)
    {
        return dialog.SendMessage(msg, reinterpret_cast<WPARAM>(dc.m_hDC),
                                  reinterpret_cast<LPARAM>(control));
    };
    const LRESULT system = colourFor(WM_CTLCOLORDLG, dialog.m_hWnd);

    app.SetDialogBkColor(RGB(232, 232, 232), RGB(0, 0, 128));
    const auto brush = reinterpret_cast<LRESULT>(app.GetDialogBkBrush());
    EXPECT_NE(system, brush);
    EXPECT_EQ(colourFor(WM_CTLCOLORDLG, dialog.m_hWnd), brush);
    EXPECT_EQ(colourFor(WM_CTLCOLORSTATIC, dialog.GetDlgItemHwnd(IDC_CHECK)), brush);
    EXPECT_EQ(::GetBkColor(dc), RGB(232, 232, 232));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 128));
    EXPECT_NE(colourFor(WM_CTLCOLOREDIT, dialog.GetDlgItemHwnd(IDC_EDIT)), brush)
        << "edits keep theirs";
}
