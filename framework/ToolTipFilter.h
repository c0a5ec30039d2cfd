#pragma once
// Tips for windows that find their tools themselves (CWnd::EnableToolTips and
// OnToolHitTest): the message loops pass every message here first. On each mouse message the
// window under the pointer is asked for its tool; when the answer changes, the old tool is
// removed (its tip closes) and the new one added to the framework's own tooltip window.
#include <windows.h>

void AfxFilterToolTipMessage(const MSG* msg);
