#pragma once
// What the two properties dialogs share: the skinned background, which sizes the client
// area to its bitmap, and OK and Cancel placed on the wells painted for them.
#include "skin/SkinnedDialog.h"
#include "skin/TavButton.h"

#include "framework/Controls.h"

class CSkinnedEditDlg : public CSkinnedDialog
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

private:
    POINT m_ptOK;
    POINT m_ptCancel;
};
