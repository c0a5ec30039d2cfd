#pragma once
#include "framework/WinApp.h"

// The application: runs the main window as a modal dialog and ends when it closes.
class CMainApp : public CWinApp
{
public:
    BOOL InitInstance() override;
};
