#pragma once

#include <windows.h>

#include <commctrl.h>

// Owns an image list and destroys it with itself.
class CImageList
{
public:
    CImageList() = default;
    ~CImageList();
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;
    CImageList(CImageList&& other) noexcept;
    CImageList& operator=(CImageList&& other) noexcept;

    // Replaces (and destroys) any list held before.
    BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
    // The new image's index, or -1.
    int Add(HICON icon);
    // Appends the entry of the list's image size from the icon group resource `nIconId`; the
    // new image's index, or -1 when the module holds no such icon.
    int AddIconResource(HINSTANCE hInstance, UINT nIconId);
    int GetImageCount() const;
    BOOL DeleteImageList();

    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

private:
    HIMAGELIST m_hImageList = nullptr;
};
