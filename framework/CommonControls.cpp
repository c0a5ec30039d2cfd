#include "framework/CommonControls.h"

#include <windows.h>

#include <commctrl.h>

void AfxInitCommonControls()
{
    INITCOMMONCONTROLSEX init{};
    init.dwSize = sizeof(init);
    init.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS | ICC_WIN95_CLASSES;
    ::InitCommonControlsEx(&init);
}
