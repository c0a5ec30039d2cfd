#pragma once
// The reviewed text form of the starter catalogue: one file per category.
//
//   category: Length
//   icon: 1003
//   note: free text shown in the status line
//   selected: yes
//   unit: Metre | 1 | 0 | source shown | SI base unit
//
// A unit line holds name | factor | shift | flags | note. Flags: source (the unit values
// are entered in), shown (in the result list), current (selected in the unit list),
// target (selected in the result list), invert. Lines starting with '#' are comments.
// A factor or shift is a decimal number or an exact product and quotient of decimals, with
// whole powers and pi, such as 1200 / 3937 or 231 * 0.0254^3; it is rounded once.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct SourceUnit
{
    std::wstring name;
    double factor = 1.0;
    double shift = 0.0;
    bool isSource = false, isShown = false, isCurrent = false, isTarget = false, isInvert = false;
    std::wstring note;
};

struct SourceCategory
{
    std::wstring name;
    std::int32_t iconId = 1000;
    std::wstring note;
    bool isSelected = false;
    std::vector<SourceUnit> units;
};

class CatalogueSourceError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Parses one category file's text (UTF-8); `origin` names it in error messages.
SourceCategory ParseCategorySource(const std::string& text, const std::string& origin);
