#pragma once
// The skin's bitmaps at the display scale in use. The artwork is drawn for 96, 120, 144 and
// 192 DPI: the 96-DPI set as bitmaps under the ids of res/resource.h, the others as PNG under
// the same ids plus kSkinSetIdStep for each set. Between two sets the larger one is scaled
// down, above the largest that one is scaled up, always to the 96-DPI size scaled by the one
// rule of AfxScale.
#include "framework/Gdi.h"

constexpr UINT kSkinSetIdStep = 10000;

struct SkinSet
{
    int dpi;     // the scale it was drawn for
    UINT idStep; // added to the 96-DPI id
};

// The set drawn for `dpi` or, failing that, the nearest larger one, or the largest.
SkinSet SkinSetFor(int dpi);

// A picture: a background, a header or scroll bar piece.
BOOL LoadSkinPicture(CGdiBitmap& bitmap, UINT nId);
// A button strip of three frames side by side, with its greys mapped to the 3-D colours; each
// frame is scaled as a whole, so the frames stay equal.
BOOL LoadSkinStrip(CGdiBitmap& bitmap, UINT nId);
