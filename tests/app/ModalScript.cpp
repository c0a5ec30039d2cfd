#include "tests/app/ModalScript.h"

#include "framework/ModalSeam.h"

namespace
{
struct Script
{
    CDialog* dialog = nullptr;
    std::vector<ModalStep> steps;
    std::size_t next = 0;
};
Script g_script;

void SetKeyHeld(UINT virtualKey, bool held)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    state[virtualKey] = held ? 0x80 : 0;
    ::SetKeyboardState(state);
}

void CALLBACK RunNextStep(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(nullptr, id);
    // Modifiers held by the previous step's key are released once it has been handled.
    SetKeyHeld(VK_CONTROL, false);
    SetKeyHeld(VK_SHIFT, false);
    Script& script = g_script;
    if (!script.dialog->IsWindow())
        return;
    if (script.next < script.steps.size())
    {
        auto step = script.steps[script.next++];
        step();
        ::SetTimer(nullptr, 0, 30, RunNextStep);
        return;
    }
    script.dialog->EndDialog(IDCANCEL);
}
} // namespace

INT_PTR RunModalScript(CDialog& dialog, std::vector<ModalStep> steps)
{
    g_script = Script{&dialog, std::move(steps), 0};
    ScopedModalDialogHandler handler([&](CDialog& shown) {
        if (&shown == &dialog)
            ::SetTimer(nullptr, 0, 30, RunNextStep);
    });
    return dialog.DoModal();
}

void TypeChars(const std::wstring& chars)
{
    HWND focus = ::GetFocus();
    for (wchar_t c : chars)
        ::PostMessageW(focus, WM_CHAR, c, 1);
}

void PressKey(UINT virtualKey)
{
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(::GetFocus(), WM_KEYUP, virtualKey, 0xC0000001);
}

void PressKeyWith(UINT modifier, UINT virtualKey)
{
    // Held while the key is handled in the modal loop; the next step releases it.
    SetKeyHeld(modifier, true);
    ::PostMessageW(::GetFocus(), WM_KEYDOWN, virtualKey, 1);
}

void TypeKeyOnKeyboard(UINT virtualKey)
{
    INPUT inputs[2]{};
    for (INPUT& input : inputs)
    {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = static_cast<WORD>(virtualKey);
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(2, inputs, sizeof(INPUT));
}
