// Binding objects to windows, and Default() reaching the right previous procedure.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Controls.h"

#include <gtest/gtest.h>

namespace
{

// Answers WM_APP with twice its wParam, counts WM_DESTROY, and passes WM_SETTEXT on through
// Default() only while passOn is set.
template <class Base> class Probe : public Hooked<Base>
{
public:
    template <class... Args> explicit Probe(Args... args) : Hooked<Base>(args...)
    {
        this->hook = [this](UINT msg, WPARAM wParam, LPARAM, LRESULT& result)
        {
            if (msg == WM_APP)
                result = static_cast<LRESULT>(wParam) * 2;
            else if (msg == WM_SETTEXT)
                result = passOn ? this->Default() : TRUE;
            else if (msg == WM_DESTROY)
                ++destroyed;
            return msg == WM_APP || msg == WM_SETTEXT;
        };
    }
    int destroyed = 0;
    bool passOn = true;
};

HWND CreateEdit(CWnd& parent)
{
    return ::CreateWindowExW(0, L"Edit", L"", WS_CHILD, 0, 0, 100, 20, parent.m_hWnd,
                             reinterpret_cast<HMENU>(7), nullptr, nullptr);
}

// A later subclass by someone else, on top of ours.
WNDPROC g_procBelowOuter = nullptr;
LRESULT CALLBACK OuterProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    return ::CallWindowProcW(g_procBelowOuter, hWnd, msg, wParam, lParam);
}

} // namespace

TEST(WindowBinding, CreatedWindowIsBoundUntilDestroyedAndDiesWithItsObject)
{
    Probe<CWnd> wnd;
    ASSERT_TRUE(CreateTopLevel(wnd));
    HWND hWnd = wnd.m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(::SendMessageW(hWnd, WM_APP, 21, 0), 42);
    ::DestroyWindow(hWnd);
    EXPECT_EQ(wnd.destroyed, 1);
    EXPECT_EQ(wnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    {
        Probe<CWnd> shortLived;
        ASSERT_TRUE(CreateTopLevel(shortLived));
        hWnd = shortLived.m_hWnd;
    }
    EXPECT_FALSE(::IsWindow(hWnd));
}

TEST(WindowBinding, SubclassedControlIsReleasedWhicheverSideGoesFirst)
{
    Probe<CWnd> parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    HWND edit = CreateEdit(parent);
    {
        Probe<CWnd> control;
        ASSERT_TRUE(control.SubclassDlgItem(7, &parent));
        EXPECT_EQ(::SendMessageW(edit, WM_APP, 5, 0), 10);
        EXPECT_FALSE(Probe<CWnd>().SubclassWindow(edit));
    }
    // The object went first: the edit lives on, unbound and still an edit.
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    EXPECT_EQ(::SendMessageW(edit, WM_APP, 5, 0), 0);
    ::SetWindowTextW(edit, L"12");
    EXPECT_EQ(::GetWindowTextLengthW(edit), 2);

    Probe<CWnd> control;
    ASSERT_TRUE(control.SubclassWindow(edit));
    EXPECT_EQ(control.UnsubclassWindow(), edit);
    EXPECT_EQ(CWnd::FromHandlePermanent(edit), nullptr);
    ASSERT_TRUE(control.SubclassWindow(edit));
    ::DestroyWindow(edit);
    EXPECT_EQ(control.destroyed, 1);
    EXPECT_EQ(control.m_hWnd, nullptr);
}

TEST(WindowBinding, SubclassUnderAnotherOneKeepsTheChainWhenItsObjectGoes)
{
    Probe<CWnd> parent;
    ASSERT_TRUE(CreateTopLevel(parent));
    HWND edit = CreateEdit(parent);
    const LONG_PTR original = ::GetWindowLongPtrW(edit, GWLP_WNDPROC);
    {
        Probe<CWnd> control;
        ASSERT_TRUE(control.SubclassWindow(edit));
        g_procBelowOuter = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OuterProc)));
        EXPECT_EQ(::SendMessageW(edit, WM_APP, 4, 0), 8);
    }
    // Ours could not be taken out from under the outer one; it now only passes messages on.
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OuterProc));
    EXPECT_EQ(::SendMessageW(edit, WM_APP, 4, 0), 0);
    ::SetWindowTextW(edit, L"123");
    EXPECT_EQ(::GetWindowTextLengthW(edit), 3);

    // Bound again, ours serves the new object from where it is in the chain.
    Probe<CWnd> control;
    ASSERT_TRUE(control.SubclassWindow(edit));
    EXPECT_EQ(::SendMessageW(edit, WM_APP, 4, 0), 8);
    control.SetWindowText(L"once");
    EXPECT_EQ(control.GetWindowText(), L"once");
    ASSERT_EQ(control.UnsubclassWindow(), edit);
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OuterProc));
    ::SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_procBelowOuter));
    ASSERT_TRUE(control.SubclassWindow(edit));
    ASSERT_EQ(control.UnsubclassWindow(), edit);
    EXPECT_EQ(::GetWindowLongPtrW(edit, GWLP_WNDPROC), original) << "nothing left of ours";
    ::DestroyWindow(edit);
}

TEST(WindowBinding, DefaultPassesTheMessageOnForEachKindOfBinding)
{
    Probe<CWnd> window;
    ASSERT_TRUE(CreateTopLevel(window));
    Probe<CWnd> edit;
    ASSERT_TRUE(edit.SubclassWindow(CreateEdit(window)));
    Probe<CDialog> dialog(IDD_PLAIN);
    ASSERT_TRUE(dialog.Create());
    auto check = [](CWnd& wnd, bool& passOn)
    {
        passOn = true;
        wnd.SetWindowText(L"passed on");
        passOn = false;
        wnd.SetWindowText(L"swallowed");
        EXPECT_EQ(wnd.GetWindowText(), L"passed on");
    };
    check(window, window.passOn);
    check(edit, edit.passOn);
    check(dialog, dialog.passOn);
}

TEST(WindowBinding, GetDlgItemGivesTheBoundObjectOrAView)
{
    CDialog dialog(IDD_TEST);
    ASSERT_TRUE(dialog.Create());
    CEdit edit;
    ASSERT_TRUE(edit.SubclassDlgItem(IDC_EDIT, &dialog));
    EXPECT_EQ(dialog.GetDlgItem(IDC_EDIT), &edit);
    EXPECT_EQ(edit.GetParent(), &dialog);
    CWnd* view = dialog.GetDlgItem(IDC_EDIT2);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->m_hWnd, dialog.GetDlgItemHwnd(IDC_EDIT2));
    EXPECT_EQ(CWnd::FromHandlePermanent(view->m_hWnd), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(IDC_EDIT2), view);
    EXPECT_EQ(edit.Detach(), nullptr) << "a bound control is not let go by Detach";
}
