#pragma once
#include "framework/MessageMap.h"
#include "framework/WinApp.h"

// The application: runs the main window as a modal dialog and ends when it closes. It
// answers the Help command, which no window handles.
class CMainApp : public CWinApp
{
public:
    BOOL InitInstance() override;

protected:
    BEGIN_MSG_MAP(CMainApp)
        ON_COMMAND(ID_HELP, OnHelp)
    END_MSG_MAP(CWinApp)

private:
    void OnHelp();
};
