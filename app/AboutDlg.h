#pragma once
#include "framework/Dialog.h"

// The About box: a notice and OK.
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
};
