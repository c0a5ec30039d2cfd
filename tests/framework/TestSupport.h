#pragma once
// Shared by the framework tests. Windows are created hidden where the test allows: without a
// window manager Wine waits two seconds whenever it unmaps a shown, captioned window.

#include "framework/Dialog.h"
#include "framework/ModalSeam.h"

#include <functional>
#include <vector>

// A real window object whose messages the test answers inline: `hook` returns true for those
// it handles, setting the result; the rest go on to Base.
template <class Base> class Hooked : public Base
{
public:
    using Base::Base;
    std::function<bool(UINT msg, WPARAM, LPARAM, LRESULT& result)> hook;
    BOOL ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override
    {
        return (hook && hook(msg, wParam, lParam, result)) ||
               Base::ProcessMessage(msg, wParam, lParam, result);
    }
};

// A hidden window of the framework's own class.
bool CreateTopLevel(CWnd& wnd);

// Runs `dialog` modally; `step` runs once it is shown. A dialog still open after five seconds
// fails the test and is ended with -2, so a broken loop cannot hang the run.
INT_PTR RunModal(CDialog& dialog, const std::function<void(CDialog&)>& step);

void PostKey(HWND target, WPARAM key);

// Records every message box and answers with `answer`.
class MessageBoxLog
{
public:
    explicit MessageBoxLog(int answer = IDOK);
    std::vector<MessageBoxRequest> boxes;

private:
    ScopedMessageBoxHandler m_handler;
};
