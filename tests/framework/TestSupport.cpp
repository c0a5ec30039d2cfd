#include "tests/framework/TestSupport.h"

#include "framework/CommonControls.h"

#include <gtest/gtest.h>

namespace
{

void CALLBACK EndOverdueDialog(HWND hWnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(hWnd, id);
    if (auto* open = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd)))
    {
        ADD_FAILURE() << "modal dialog " << open->GetTemplateID() << " did not end";
        open->EndDialog(-2);
    }
}

// A real message box or modal loop would wait for a user who is not there: each test answers
// its own, and anything else fails the test instead of hanging it.
class FrameworkEnvironment : public ::testing::Environment
{
public:
    void SetUp() override
    {
        AfxInitCommonControls();
        SetMessageBoxHandler(
            [](const MessageBoxRequest& request)
            {
                ADD_FAILURE() << "unexpected message box of " << request.text.size()
                              << " characters";
                return IDOK;
            });
        SetModalDialogHandler(
            [](CDialog& dialog)
            {
                ADD_FAILURE() << "unexpected modal dialog " << dialog.GetTemplateID();
                dialog.EndDialog(IDABORT);
            });
    }
};

const ::testing::Environment* const g_environment =
    ::testing::AddGlobalTestEnvironment(new FrameworkEnvironment);

} // namespace

bool CreateTopLevel(CWnd& wnd)
{
    const RECT rect{100, 100, 400, 300};
    return wnd.CreateEx(0, nullptr, L"Test", WS_OVERLAPPEDWINDOW, rect, nullptr, 0) != FALSE;
}

INT_PTR RunModal(CDialog& dialog, const std::function<void(CDialog&)>& step)
{
    ScopedModalDialogHandler handler(
        [&](CDialog& shown)
        {
            EXPECT_EQ(&shown, &dialog);
            ::SetTimer(shown.m_hWnd, 0x7e57, 5000, &EndOverdueDialog);
            step(shown);
        });
    return dialog.DoModal();
}

void PostKey(HWND target, WPARAM key)
{
    ::PostMessageW(target, WM_KEYDOWN, key, 1);
}

MessageBoxLog::MessageBoxLog(int answer)
    : m_handler(
          [this, answer](const MessageBoxRequest& request)
          {
              boxes.push_back(request);
              return answer;
          })
{
}
