#pragma once
// Drives a real modal window through its own modal loop: each step runs after the
// messages posted by the previous step have been dispatched, as a user's keys would be.
#include "framework/Dialog.h"

#include <functional>
#include <vector>

using ModalStep = std::function<void()>;

// Runs `dialog` modally and the steps in order once it is up; the dialog is closed with
// IDCANCEL after the last step unless a step closed it. Returns DoModal's result.
INT_PTR RunModalScript(CDialog& dialog, std::vector<ModalStep> steps);

// Posts the characters to the focused window, as typing them would.
void TypeChars(const std::wstring& chars);
// Posts a key press to the focused window; the second form with Ctrl or Shift held while
// it is handled (released before the next step).
void PressKey(UINT virtualKey);
void PressKeyWith(UINT modifier, UINT virtualKey);
// Presses and releases a key through the system's input queue (SendInput), for the keys
// the system itself turns into messages of their own, such as F1 into WM_HELP.
void TypeKeyOnKeyboard(UINT virtualKey);
