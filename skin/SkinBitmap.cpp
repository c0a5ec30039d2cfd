#include "skin/SkinBitmap.h"

#include "framework/DpiScale.h"
#include "framework/PngResource.h"
#include "framework/ResourceBytes.h"
#include "framework/WinApp.h"

#include <iterator>

namespace
{
constexpr SkinSet kSets[] = {{96, 0}, {120, kSkinSetIdStep}, {144, 2 * kSkinSetIdStep},
                             {192, 3 * kSkinSetIdStep}};
constexpr int kStripFrames = 3;

// The stored size at 96 DPI, read from the bitmap resource's header without loading it.
SIZE StoredSize(UINT nId)
{
    const CResourceBytes stored = AfxFindResourceBytes(AfxGetInstanceHandle(), nId, RT_BITMAP);
    if (stored.nSize < sizeof(BITMAPINFOHEADER))
        return SIZE{0, 0};
    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(stored.pBytes);
    return SIZE{pHeader->biWidth, pHeader->biHeight < 0 ? -pHeader->biHeight : pHeader->biHeight};
}

// The stored picture of the set, as pixels: PNG for the larger sets.
CPixels SetPixels(const SkinSet& set, UINT nId)
{
    if (set.idStep != 0)
        return AfxLoadPngResource(nId + set.idStep);
    CGdiBitmap stored;
    stored.LoadFromResource(nId);
    return AfxReadBitmapPixels(stored);
}

BOOL LoadScaled(CGdiBitmap& bitmap, UINT nId, int nFrames, bool bMapped)
{
    const int dpi = AfxGetSystemDpi();
    if (dpi == kDefaultDpi)
        return bMapped ? bitmap.LoadMappedFromResource(nId) : bitmap.LoadFromResource(nId);

    const SIZE stored = StoredSize(nId);
    const SIZE wanted{AfxScaleTo(stored.cx / nFrames, dpi) * nFrames, AfxScaleTo(stored.cy, dpi)};
    CPixels pixels = SetPixels(SkinSetFor(dpi), nId);
    if (pixels.width != wanted.cx || pixels.height != wanted.cy)
        pixels = AfxResamplePixels(pixels, wanted.cx, wanted.cy);
    // The artwork holds none of the greys that the 3-D colour mapping replaces, so a strip
    // drawn for this scale needs no mapping.
    return bitmap.Attach(AfxCreateBitmapFromPixels(pixels));
}
} // namespace

SkinSet SkinSetFor(int dpi)
{
    for (const SkinSet& set : kSets)
        if (set.dpi >= dpi)
            return set;
    return kSets[std::size(kSets) - 1];
}

BOOL LoadSkinPicture(CGdiBitmap& bitmap, UINT nId) { return LoadScaled(bitmap, nId, 1, false); }

BOOL LoadSkinStrip(CGdiBitmap& bitmap, UINT nId)
{
    return LoadScaled(bitmap, nId, kStripFrames, true);
}
