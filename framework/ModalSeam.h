#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CDialog;

// Every message box and modal dialog passes through here, so tests can answer them.
struct MessageBoxRequest
{
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;
using ModalDialogHandler = std::function<void(CDialog&)>;

// A null handler restores the real MessageBoxW.
void SetMessageBoxHandler(MessageBoxHandler handler);

// Called inside DoModal once the dialog exists and is shown, before its loop starts. A handler
// that calls EndDialog ends the dialog without entering the loop. Null means the real loop.
void SetModalDialogHandler(ModalDialogHandler handler);

// Shows the box through the handler, or through MessageBoxW when there is none.
int RunMessageBox(HWND owner, const MessageBoxRequest& request);

// Gives the dialog to the handler; false when there is none.
bool RunModalDialogHandler(CDialog& dialog);

// Installs a handler for one scope and puts the previous one back.
class ScopedMessageBoxHandler
{
public:
    explicit ScopedMessageBoxHandler(MessageBoxHandler handler);
    ~ScopedMessageBoxHandler();
    ScopedMessageBoxHandler(const ScopedMessageBoxHandler&) = delete;
    ScopedMessageBoxHandler& operator=(const ScopedMessageBoxHandler&) = delete;

private:
    MessageBoxHandler m_previous;
};

class ScopedModalDialogHandler
{
public:
    explicit ScopedModalDialogHandler(ModalDialogHandler handler);
    ~ScopedModalDialogHandler();
    ScopedModalDialogHandler(const ScopedModalDialogHandler&) = delete;
    ScopedModalDialogHandler& operator=(const ScopedModalDialogHandler&) = delete;

private:
    ModalDialogHandler m_previous;
};
