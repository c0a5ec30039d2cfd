#pragma once
#include "skin/SkinnedDialog.h"
#include "skin/TavButton.h"

// The About box: a notice in the sunken frame of its background, and OK.
class CAboutDlg : public CSkinnedDialog
{
public:
    CAboutDlg();

    CTavButton m_btnOK;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
};
