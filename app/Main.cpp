#include "app/MainApp.h"

#include <windows.h>

namespace
{
CMainApp theApp;
}

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int)
{
    return AfxWinMain(hInstance);
}
