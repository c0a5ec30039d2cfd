#include "framework/ListCtrl.h"

int CListCtrl::InsertColumn(int index, const std::wstring& title, int format, int width)
{
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = format;
    column.pszText = const_cast<wchar_t*>(title.c_str());
    column.iSubItem = index;
    if (width >= 0)
    {
        column.mask |= LVCF_WIDTH;
        column.cx = width;
    }
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&column)));
}

int CListCtrl::GetColumnWidth(int column) const
{
    return static_cast<int>(SendMessage(LVM_GETCOLUMNWIDTH, static_cast<WPARAM>(column)));
}

BOOL CListCtrl::SetColumnWidth(int column, int width)
{
    return static_cast<BOOL>(
        SendMessage(LVM_SETCOLUMNWIDTH, static_cast<WPARAM>(column), MAKELPARAM(width, 0)));
}

int CListCtrl::InsertItem(int index, const std::wstring& text)
{
    return InsertItem(LVIF_TEXT, index, text, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(UINT mask, int index, const std::wstring& text, UINT state,
                          UINT stateMask, int image, LPARAM lParam)
{
    LVITEMW item{};
    item.mask = mask;
    item.iItem = index;
    item.pszText = const_cast<wchar_t*>(text.c_str());
    item.state = state;
    item.stateMask = stateMask;
    item.iImage = image;
    item.lParam = lParam;
    return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::SetItemText(int item, int subItem, const std::wstring& text)
{
    LVITEMW lvi{};
    lvi.iSubItem = subItem;
    lvi.pszText = const_cast<wchar_t*>(text.c_str());
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMTEXTW, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)));
}

std::wstring CListCtrl::GetItemText(int item, int subItem) const
{
    // The control only says how much it copied, so grow until the text fits with room over.
    std::wstring text(256, L'\0');
    for (;;)
    {
        LVITEMW lvi{};
        lvi.iSubItem = subItem;
        lvi.pszText = text.data();
        lvi.cchTextMax = static_cast<int>(text.size());
        LRESULT copied = SendMessage(LVM_GETITEMTEXTW, static_cast<WPARAM>(item),
                                     reinterpret_cast<LPARAM>(&lvi));
        if (copied < static_cast<LRESULT>(text.size()) - 1)
        {
            text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
            return text;
        }
        text.assign(text.size() * 2, L'\0');
    }
}

BOOL CListCtrl::SetItemData(int item, DWORD_PTR data)
{
    LVITEMW lvi{};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    lvi.lParam = static_cast<LPARAM>(data);
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
}

DWORD_PTR CListCtrl::GetItemData(int item) const
{
    LVITEMW lvi{};
    lvi.mask = LVIF_PARAM;
    lvi.iItem = item;
    if (!SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)))
        return 0;
    return static_cast<DWORD_PTR>(lvi.lParam);
}

int CListCtrl::GetItemImage(int item) const
{
    LVITEMW lvi{};
    lvi.mask = LVIF_IMAGE;
    lvi.iItem = item;
    lvi.iImage = -1;
    if (!::SendMessageW(m_hWnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)))
        return -1;
    return lvi.iImage;
}

BOOL CListCtrl::SetItemImage(int item, int image)
{
    LVITEMW lvi{};
    lvi.mask = LVIF_IMAGE;
    lvi.iItem = item;
    lvi.iImage = image;
    return static_cast<BOOL>(SendMessage(LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&lvi)));
}

BOOL CListCtrl::SetItemState(int item, UINT state, UINT mask)
{
    LVITEMW lvi{};
    lvi.state = state;
    lvi.stateMask = mask;
    return static_cast<BOOL>(
        SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvi)));
}

UINT CListCtrl::GetItemState(int item, UINT mask) const
{
    return static_cast<UINT>(SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), mask));
}

BOOL CListCtrl::DeleteAllItems()
{
    return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}

int CListCtrl::GetItemCount() const
{
    return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

int CListCtrl::GetNextItem(int start, UINT flags) const
{
    return static_cast<int>(
        SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), MAKELPARAM(flags, 0)));
}

BOOL CListCtrl::EnsureVisible(int item, BOOL partialOK)
{
    return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(item), partialOK));
}

BOOL CListCtrl::GetItemRect(int item, RECT* rect, UINT code) const
{
    rect->left = static_cast<LONG>(code);
    return static_cast<BOOL>(
        SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

int CListCtrl::HitTest(LVHITTESTINFO* info) const
{
    return static_cast<int>(SendMessage(LVM_HITTEST, 0, reinterpret_cast<LPARAM>(info)));
}

int CListCtrl::HitTest(POINT point, UINT* flags) const
{
    LVHITTESTINFO info{};
    info.pt = point;
    int item = HitTest(&info);
    if (flags)
        *flags = info.flags;
    return item;
}

DWORD CListCtrl::SetExtendedStyle(DWORD exStyle)
{
    return static_cast<DWORD>(
        SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, 0, static_cast<LPARAM>(exStyle)));
}

DWORD CListCtrl::GetExtendedStyle() const
{
    return static_cast<DWORD>(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE));
}

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST imageList, int type)
{
    // Without LVS_SHAREIMAGELISTS the control destroys the list with itself, and the owning
    // CImageList would then destroy it a second time.
    ModifyStyle(0, LVS_SHAREIMAGELISTS);
    return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, static_cast<WPARAM>(type),
                                                    reinterpret_cast<LPARAM>(imageList)));
}

int CListCtrl::GetStringWidth(const std::wstring& text) const
{
    return static_cast<int>(
        SendMessage(LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    HWND header = reinterpret_cast<HWND>(SendMessage(LVM_GETHEADER));
    if (!header)
        return nullptr;
    if (auto* bound = dynamic_cast<CHeaderCtrl*>(FromHandlePermanent(header)))
        return bound;
    m_headerView.m_hWnd = header;
    return &m_headerView;
}
