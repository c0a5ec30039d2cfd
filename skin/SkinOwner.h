#pragma once
// What the skinned controls ask of the window that owns them. Implemented by the main
// window; the controls find it through their parent.
#include <string>

class ISkinOwner
{
public:
    // Text pasted into the value field: the owner decides what it means.
    virtual void PasteValueText(const std::wstring& text) = 0;
    // The pop-up menu resource of the category list for the current category.
    virtual UINT GetCategoryMenuId() = 0;

protected:
    ~ISkinOwner() = default;
};
