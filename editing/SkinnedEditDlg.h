#pragma once
// What the two properties dialogs share: the skinned background, which sizes the client
// area to its bitmap, and OK and Cancel placed on the wells painted for them.
#include "skin/SkinBackground.h"
#include "skin/TavButton.h"

#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"

class CSkinnedEditDlg : public CDialog
{
public:
    // Client pixels of the top-left corners of OK and Cancel.
    CSkinnedEditDlg(UINT nIDTemplate, UINT nBackgroundId, POINT ptOK, POINT ptCancel,
                    CWnd* pParent);

    // Placed at their points and sized by their strips.
    CTavButton m_btnOK;
    CTavButton m_btnCancel;

protected:
    // Binds the two buttons; derived classes bind their fields after calling it.
    void DoDataExchange(CDataExchange& dx) override;
    // Fills the fields, sets up the skin, then reads the fields back once. No field gets
    // the focus.
    BOOL OnInitDialog() override;

    BEGIN_MSG_MAP(CSkinnedEditDlg)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_WM_SIZE(OnSize)
        ON_WM_DESTROY(OnDestroy)
    END_MSG_MAP(CDialog)

private:
    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();
    void PlaceButton(CTavButton& button, POINT point, UINT nStripId);

    UINT m_nBackgroundId;
    POINT m_ptOK;
    POINT m_ptCancel;
    CSkinBackground m_background;
};
