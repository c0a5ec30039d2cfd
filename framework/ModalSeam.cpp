#include "framework/ModalSeam.h"

#include <utility>

namespace
{

MessageBoxHandler& CurrentMessageBoxHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

ModalDialogHandler& CurrentModalDialogHandler()
{
    static ModalDialogHandler handler;
    return handler;
}

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    CurrentMessageBoxHandler() = std::move(handler);
}

void SetModalDialogHandler(ModalDialogHandler handler)
{
    CurrentModalDialogHandler() = std::move(handler);
}

int RunMessageBox(HWND owner, const MessageBoxRequest& request)
{
    // A copy, so a handler may replace itself while it runs.
    MessageBoxHandler handler = CurrentMessageBoxHandler();
    if (handler)
        return handler(request);
    return ::MessageBoxW(owner, request.text.c_str(), request.caption.c_str(), request.type);
}

bool RunModalDialogHandler(CDialog& dialog)
{
    ModalDialogHandler handler = CurrentModalDialogHandler();
    if (!handler)
        return false;
    handler(dialog);
    return true;
}

ScopedMessageBoxHandler::ScopedMessageBoxHandler(MessageBoxHandler handler)
    : m_previous(std::exchange(CurrentMessageBoxHandler(), std::move(handler)))
{
}

ScopedMessageBoxHandler::~ScopedMessageBoxHandler()
{
    CurrentMessageBoxHandler() = std::move(m_previous);
}

ScopedModalDialogHandler::ScopedModalDialogHandler(ModalDialogHandler handler)
    : m_previous(std::exchange(CurrentModalDialogHandler(), std::move(handler)))
{
}

ScopedModalDialogHandler::~ScopedModalDialogHandler()
{
    CurrentModalDialogHandler() = std::move(m_previous);
}
