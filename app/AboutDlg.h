#pragma once
#include "skin/SkinBackground.h"
#include "skin/TavButton.h"

#include "framework/Dialog.h"
#include "framework/MessageMap.h"

// The About box: a notice in the sunken frame of its background, and OK.
class CAboutDlg : public CDialog
{
public:
    CAboutDlg();

    CTavButton m_btnOK;

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(CAboutDlg)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_WM_SIZE(OnSize)
        ON_WM_DESTROY(OnDestroy)
    END_MSG_MAP(CDialog)

private:
    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();

    CSkinBackground m_background;
};
