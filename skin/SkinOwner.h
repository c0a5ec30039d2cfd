#pragma once
// What the skinned controls ask of the window that owns them. Implemented by the main
// window; the controls find it through their parent.
#include <windows.h>

#include <string>

class ISkinOwner
{
public:
    // Text pasted into the value field: the owner decides what it means.
    virtual void PasteValueText(const std::wstring& text) = 0;
    // The pop-up menu resource of the category list for the current category.
    virtual UINT GetCategoryMenuId() = 0;
    // The name and converted value of the result unit at a place of the result record set
    // (a result row's item data); the record set's own place is left as it was. False when
    // there is no such unit.
    virtual bool ReadResultUnit(DWORD_PTR nPosition, std::wstring& strUnitName,
                                double& dUserValue) = 0;

protected:
    ~ISkinOwner() = default;
};
