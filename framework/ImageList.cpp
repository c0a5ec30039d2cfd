#include "framework/ImageList.h"

#include "framework/Gdi.h"
#include "framework/ResourceBytes.h"

#include <cstring>
#include <utility>
#include <vector>

namespace
{
// The bytes of one stored DIB row: rows are padded to whole 32-bit words.
std::size_t DibRowBytes(LONG width, WORD bitsPerPixel)
{
    return (static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32 * 4;
}

// The entry of exactly cx x cy pixels of an icon group as stored: a bottom-up DIB header of
// twice the height, its colour table, the colour (XOR) rows, then the 1-bit AND mask rows.
// Null for any other form (another size, compressed, short), which the caller loads the
// slow way.
const BITMAPINFOHEADER* StoredIconImage(HINSTANCE hInstance, UINT nIconId, int cx, int cy,
                                        std::size_t& colourTableBytes)
{
    const CResourceBytes directory = AfxFindResourceBytes(hInstance, nIconId, RT_GROUP_ICON);
    const int nEntryId =
        directory.pBytes ? ::LookupIconIdFromDirectoryEx(const_cast<BYTE*>(directory.pBytes), TRUE,
                                                         cx, cy, LR_DEFAULTCOLOR)
                         : 0;
    const CResourceBytes image = nEntryId > 0 ? AfxFindResourceBytes(
                                                    hInstance, static_cast<UINT>(nEntryId), RT_ICON)
                                              : CResourceBytes{};
    const auto* pHeader = reinterpret_cast<const BITMAPINFOHEADER*>(image.pBytes);
    const std::size_t nSize = image.nSize;
    if (!pHeader || nSize < sizeof *pHeader || pHeader->biSize != sizeof *pHeader ||
        pHeader->biWidth != cx || pHeader->biHeight != 2 * cy || pHeader->biPlanes != 1 ||
        pHeader->biCompression != BI_RGB || pHeader->biBitCount > 32)
        return nullptr;
    const std::size_t nColours =
        pHeader->biClrUsed ? pHeader->biClrUsed
                           : (pHeader->biBitCount <= 8 ? std::size_t{1} << pHeader->biBitCount : 0);
    colourTableBytes = nColours * sizeof(RGBQUAD);
    const std::size_t nColourRow = DibRowBytes(cx, pHeader->biBitCount);
    const std::size_t nMaskRow = DibRowBytes(cx, 1);
    const std::size_t nNeeded = sizeof *pHeader + colourTableBytes + (nColourRow + nMaskRow) * cy;
    return nNeeded <= nSize ? pHeader : nullptr;
}

// A bitmap of `cy` rows from stored DIB rows described by `header` and its colour table.
CGdiBitmap DibFromRows(const BITMAPINFOHEADER& header, const RGBQUAD* pColours,
                       std::size_t nColours, const BYTE* pRows, int cy)
{
    std::vector<BYTE> info(sizeof header + nColours * sizeof(RGBQUAD));
    auto* pInfo = reinterpret_cast<BITMAPINFO*>(info.data());
    pInfo->bmiHeader = header;
    pInfo->bmiHeader.biHeight = cy;
    pInfo->bmiHeader.biSizeImage = 0;
    pInfo->bmiHeader.biClrUsed = static_cast<DWORD>(nColours);
    if (nColours)
        std::memcpy(pInfo->bmiColors, pColours, nColours * sizeof(RGBQUAD));
    void* pBits = nullptr;
    CGdiBitmap bitmap;
    if (bitmap.CreateDIBSection(pInfo, &pBits))
        std::memcpy(pBits, pRows, DibRowBytes(header.biWidth, header.biBitCount) * cy);
    return bitmap;
}
} // namespace

CImageList::~CImageList()
{
    DeleteImageList();
}

CImageList::CImageList(CImageList&& other) noexcept
    : m_hImageList(std::exchange(other.m_hImageList, nullptr))
{
}

CImageList& CImageList::operator=(CImageList&& other) noexcept
{
    if (this != &other)
    {
        DeleteImageList();
        m_hImageList = std::exchange(other.m_hImageList, nullptr);
    }
    return *this;
}

BOOL CImageList::Create(int cx, int cy, UINT flags, int initial, int grow)
{
    DeleteImageList();
    m_hImageList = ::ImageList_Create(cx, cy, flags, initial, grow);
    return m_hImageList != nullptr;
}

int CImageList::Add(HICON icon)
{
    return m_hImageList ? ::ImageList_ReplaceIcon(m_hImageList, -1, icon) : -1;
}

int CImageList::GetImageCount() const
{
    return m_hImageList ? ::ImageList_GetImageCount(m_hImageList) : 0;
}

BOOL CImageList::DeleteImageList()
{
    if (!m_hImageList)
        return FALSE;
    BOOL destroyed = ::ImageList_Destroy(m_hImageList);
    m_hImageList = nullptr;
    return destroyed;
}

// The stored rows go into the list as they are, which is what drawing the icon's image and
// mask would put there, without making an icon object: under Wine that costs milliseconds
// an icon.
int CImageList::AddIconResource(HINSTANCE hInstance, UINT nIconId)
{
    int cx = 0;
    int cy = 0;
    if (!m_hImageList || !::ImageList_GetIconSize(m_hImageList, &cx, &cy))
        return -1;
    std::size_t nColourTableBytes = 0;
    const BITMAPINFOHEADER* pHeader =
        StoredIconImage(hInstance, nIconId, cx, cy, nColourTableBytes);
    if (!pHeader)
    {
        HICON hIcon = static_cast<HICON>(
            ::LoadImageW(hInstance, MAKEINTRESOURCEW(nIconId), IMAGE_ICON, cx, cy, 0));
        if (!hIcon)
            return -1;
        const int nImage = Add(hIcon);
        ::DestroyIcon(hIcon);
        return nImage;
    }
    const auto* pColours = reinterpret_cast<const RGBQUAD*>(pHeader + 1);
    const BYTE* pColourRows = reinterpret_cast<const BYTE*>(pHeader + 1) + nColourTableBytes;
    const BYTE* pMaskRows = pColourRows + DibRowBytes(cx, pHeader->biBitCount) * cy;

    BITMAPINFOHEADER maskHeader = *pHeader;
    maskHeader.biBitCount = 1;
    const RGBQUAD blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
    CGdiBitmap image =
        DibFromRows(*pHeader, pColours, nColourTableBytes / sizeof(RGBQUAD), pColourRows, cy);
    CGdiBitmap mask = DibFromRows(maskHeader, blackWhite, 2, pMaskRows, cy);
    if (!image.GetSafeHandle() || !mask.GetSafeHandle())
        return -1;
    return ::ImageList_Add(m_hImageList, image, mask);
}
