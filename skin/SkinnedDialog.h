#pragma once
// A small dialog painted from its background bitmap, its client area sized to the bitmap,
// with OK and Cancel (where present) as bitmap buttons placed on wells of the artwork.
#include "skin/SkinBackground.h"
#include "skin/TavButton.h"

#include "framework/Dialog.h"
#include "framework/MessageMap.h"

class CSkinnedDialog : public CDialog
{
public:
    CSkinnedDialog(UINT nIDTemplate, UINT nBackgroundId, CWnd* pParent);

protected:
    // Sets up the background; derived dialogs place their buttons after it.
    BOOL OnInitDialog() override;
    // Puts the button's top-left corner at the point of the 96-DPI layout, scaled; its strip
    // gives its size.
    static void PlaceButton(CTavButton& button, POINT point, UINT nStripId);

    BEGIN_MSG_MAP(CSkinnedDialog)
        ON_WM_ERASEBKGND(OnEraseBkgnd)
        ON_WM_SIZE(OnSize)
        ON_WM_DESTROY(OnDestroy)
    END_MSG_MAP(CDialog)

private:
    BOOL OnEraseBkgnd(HDC dc);
    void OnSize(UINT nType, int cx, int cy);
    void OnDestroy();

    UINT m_nBackgroundId;
    CSkinBackground m_background;
};
