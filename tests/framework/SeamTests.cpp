// Message boxes through the seam, and exceptions stopped at every callback the framework owns.
#include "tests/framework/TestResources.h"
#include "tests/framework/TestSupport.h"

#include "framework/Dialog.h"
#include "framework/MessageBox.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace
{

constexpr UINT kThrowRuntime = WM_APP + 10;
constexpr UINT kThrowBadAlloc = WM_APP + 11;
constexpr UINT kThrowInt = WM_APP + 12;
constexpr UINT kAnswer = WM_APP + 13;

template <class Base> class Thrower : public Base
{
public:
    using Base::Base;
    BEGIN_MSG_MAP(Thrower)
    ON_MESSAGE(kThrowRuntime, OnThrowRuntime)
    ON_MESSAGE(kThrowBadAlloc, OnThrowBadAlloc)
    ON_MESSAGE(kThrowInt, OnThrowInt)
    ON_MESSAGE(kAnswer, OnAnswer)
    END_MSG_MAP(Base)

private:
    // The text is UTF-8: the report must show the micro sign.
    LRESULT OnThrowRuntime(WPARAM, LPARAM)
    {
        throw std::runtime_error("Cannot convert 5 \xc2\xb5m.");
    }
    LRESULT OnThrowBadAlloc(WPARAM, LPARAM) { throw std::bad_alloc(); }
    LRESULT OnThrowInt(WPARAM, LPARAM) { throw 42; }
    LRESULT OnAnswer(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam); }
};

} // namespace

TEST(MessageBoxes, CaptionIsKalvoAndTheIconDefaultsToExclamation)
{
    MessageBoxLog log(IDNO);
    EXPECT_EQ(AfxMessageBox(L"Delete the unit?", MB_YESNO), IDNO);
    AfxMessageBox(L"Saved.", MB_ICONINFORMATION);
    {
        MessageBoxLog inner(IDCANCEL);
        EXPECT_EQ(AfxMessageBox(L"Plain."), IDCANCEL);
        EXPECT_EQ(inner.boxes.at(0).type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    }
    ASSERT_EQ(log.boxes.size(), 2u) << "the inner handler restored the outer one";
    EXPECT_EQ(log.boxes[0].text, L"Delete the unit?");
    EXPECT_EQ(log.boxes[0].caption, L"Kalvo");
    EXPECT_EQ(log.boxes[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(log.boxes[1].type, static_cast<UINT>(MB_ICONINFORMATION));
}

TEST(ExceptionBoundary, EveryProcedureReportsAndTheWindowCarriesOn)
{
    Thrower<CWnd> window;
    ASSERT_TRUE(CreateTopLevel(window));
    Thrower<CWnd> control;
    ASSERT_TRUE(control.SubclassWindow(::CreateWindowExW(
        0, L"Edit", L"", WS_CHILD, 0, 0, 9, 9, window.m_hWnd, nullptr, nullptr, nullptr)));
    Thrower<CDialog> dialog(IDD_PLAIN);
    ASSERT_TRUE(dialog.Create());

    for (CWnd* wnd :
         {static_cast<CWnd*>(&window), static_cast<CWnd*>(&control), static_cast<CWnd*>(&dialog)})
    {
        MessageBoxLog log;
        EXPECT_EQ(wnd->SendMessage(kThrowRuntime), 0);
        EXPECT_EQ(wnd->SendMessage(kThrowBadAlloc), 0);
        EXPECT_EQ(wnd->SendMessage(kThrowInt), 0);
        ASSERT_EQ(log.boxes.size(), 3u);
        EXPECT_EQ(log.boxes[0].text, L"Cannot convert 5 \u00b5m.");
        EXPECT_EQ(log.boxes[1].text, L"Out of memory.");
        EXPECT_EQ(log.boxes[2].text, L"An unexpected error occurred.");
        EXPECT_EQ(log.boxes[0].caption, L"Kalvo");
        EXPECT_EQ(log.boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_EQ(CWnd::FromHandlePermanent(wnd->m_hWnd), wnd);
        // DWLP_MSGRESULT carries the dialog's answer.
        EXPECT_EQ(wnd->SendMessage(kAnswer, 99), 99);
    }
}

TEST(ExceptionBoundary, ThrowsInsideTheModalLoopLeaveItRunning)
{
    class ModalThrower : public Thrower<CDialog>
    {
    public:
        ModalThrower() : Thrower<CDialog>(IDD_PLAIN) {}
        BOOL PreTranslateMessage(MSG* msg) override
        {
            if (msg->message == WM_KEYDOWN)
                throw std::runtime_error("Key trouble.");
            if (msg->message == kAnswer)
                EndDialog(3);
            return FALSE;
        }
    } dialog;
    MessageBoxLog log;
    EXPECT_EQ(RunModal(dialog,
                       [](CDialog& shown)
                       {
                           shown.PostMessage(kThrowRuntime);
                           PostKey(shown.m_hWnd, VK_F9);
                           shown.PostMessage(kAnswer);
                       }),
              3);
    ASSERT_EQ(log.boxes.size(), 2u);
    EXPECT_EQ(log.boxes[0].text, L"Cannot convert 5 \u00b5m.");
    EXPECT_EQ(log.boxes[1].text, L"Key trouble.");
}
