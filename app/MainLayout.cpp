#include "app/MainLayout.h"

#include "framework/DpiScale.h"

#include "res/resource.h"

namespace
{
struct ControlPlace
{
    int id, x, y, width, height;
};

// In client pixels at 96 DPI, in the order the controls are moved.
constexpr ControlPlace kPlaces[] = {
    {IDC_CATEGORY_LIST, 13, 21, 152, 337},
    {IDC_UNIT_LIST, 185, 21, 152, 337},
    {IDC_RESULT_LIST, 375, 53, 237, 221},
    {IDCANCEL, 568, 399, 46, 28},
    {IDC_NEW_CATEGORY, 64, 399, 46, 28},
    {IDC_RENAME_CATEGORY, 11, 399, 46, 28},
    {IDC_DELETE_CATEGORY, 116, 399, 46, 28},
    {IDC_NEW_UNIT, 240, 399, 46, 28},
    {IDC_EDIT_UNIT, 187, 399, 46, 28},
    {IDC_DELETE_UNIT, 292, 399, 46, 28},
    {IDC_ABOUT, 520, 397, 32, 32},
    {IDC_STATUS, 1, 377, 636, 19},
    {IDC_VALUE, 481, 25, 127, 21},
    {IDC_SOURCE_UNIT, 381, 28, 99, 21},
    {6101, 381, 286, 32, 32},
    {6102, 413, 286, 32, 32},
    {6103, 445, 286, 32, 32},
    {6104, 477, 286, 32, 32},
    {6105, 509, 286, 32, 32},
    {6106, 541, 286, 32, 32},
    {6107, 381, 318, 32, 32},
    {6108, 413, 318, 32, 32},
    {6109, 445, 318, 32, 32},
    {IDC_KEY_0, 477, 318, 32, 32},
    {IDC_KEY_POINT, 509, 318, 32, 32},
    {IDC_KEY_SIGN, 541, 318, 32, 32},
    {IDC_KEY_BACKSPACE, 589, 286, 32, 32},
    {IDC_KEY_CLEAR, 589, 318, 32, 32},
};

// The skinned buttons and keys, whose strips are drawn one scaled frame wide.
bool IsSkinnedButton(HWND control)
{
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(control, GWL_STYLE));
    return ::lstrcmpiW(className, L"Button") == 0 && (style & BS_TYPEMASK) == BS_OWNERDRAW;
}

// The lists, fields and bands abut each other and the bars, so their edges are scaled; a
// button keeps the size of its strip's frame, which edges rounded apart could cut by a pixel.
RECT ScaledPlace(const ControlPlace& place, HWND control)
{
    if (IsSkinnedButton(control))
    {
        const POINT topLeft = AfxScalePoint(POINT{place.x, place.y});
        return RECT{topLeft.x, topLeft.y, topLeft.x + AfxScale(place.width),
                    topLeft.y + AfxScale(place.height)};
    }
    return AfxScaleRect(RECT{place.x, place.y, place.x + place.width, place.y + place.height});
}
} // namespace

void PlaceMainWindowControls(CWnd& mainWindow)
{
    for (const auto& place : kPlaces)
    {
        HWND control = ::GetDlgItem(mainWindow.m_hWnd, place.id);
        if (!control)
            continue;
        const RECT rect = ScaledPlace(place, control);
        ::MoveWindow(control, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     TRUE);
    }
}
