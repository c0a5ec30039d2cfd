#pragma once
// The catalogue as the program uses it: one connection to the file, the category, unit and
// result sets over it, and the category the two unit sets show. Each user command's writes
// go through one member here and reach the file as one change, or not at all; every
// failure of the engine arrives as CDaoException.
#include "engine/Conversion.h"

#include "store/DaoDatabase.h"
#include "store/RecordsetCategory.h"
#include "store/RecordsetResult.h"
#include "store/RecordsetUnit.h"

#include <cstdint>
#include <memory>
#include <string>

// The category the rates update rebuilds; it cannot be deleted.
constexpr std::int32_t kCurrencyCategoryId = 1;

class CCatalogue
{
public:
    CCatalogue() = default;
    ~CCatalogue();
    CCatalogue(const CCatalogue&) = delete;
    CCatalogue& operator=(const CCatalogue&) = delete;

    // Closes what is open and compacts the file at strPath, then opens it and, over it, the
    // category, unit and result sets, in that order. Throws CDaoException when the file, the
    // unit set or the result set cannot be opened; false when the category set cannot (a
    // file without a readable category table, which the caller reports in its own words).
    bool Open(const std::wstring& strPath);
    // The sets before the connection, so no statement outlives it; then the file is
    // compacted. Does nothing to a catalogue that was never given a path.
    void Close();
    bool IsOpen() const;

    CDaoDatabase& Database() const { return *m_pDatabase; }
    CRecordsetCategory& Categories() const { return *m_pCategorySet; }
    CRecordsetUnit& Units() const { return *m_pUnitSet; }
    CRecordsetResult& Results() const { return *m_pResultSet; }
    std::int32_t CategoryId() const { return m_nCategoryId; }
    // Whether the category set stands on the currency category.
    bool OnCurrencyCategory() const;

    // The order of the category set: 0 table order, 1 by name, 2 by name descending.
    void SortCategories(int nMode);
    // The row of the marked category in the category set (2 when none is marked); the unit
    // sets follow that category (category 2 when none is) at their next requery.
    std::int32_t FindMarkedCategory();
    // The category the category set stands on becomes the marked one, and the unit sets
    // follow it at their next requery.
    void SelectCategory();
    // The value stored in the category's source unit, 0 when it has none; the unit set
    // stays where it stood.
    double SourceValue();
    // The source unit's name. A source that names no unit of the category (or a nameless
    // one) is replaced by the unit the unit set stands on. Engine errors leave it empty.
    std::wstring SourceUnitName();
    // Every unit's stored value for the source value x.
    void StoreValue(double x);

    // Stores the edit pending on a unit (of the unit or the result set). A changed factor,
    // shift or invert flag changes what the source value x is in that unit: every unit's
    // value is stored again in the same change, so no list shows the old conversion.
    void UpdateUnit(CRecordsetUnit& units, const UnitScale& scaleBefore, double x);

    // The category remembers the unit chosen in each list.
    void ChooseCurrentUnit() { ChooseUnit(*m_pUnitSet, &CRecordsetCategory::m_CurrentUnitId); }
    void ChooseTargetUnit() { ChooseUnit(*m_pResultSet, &CRecordsetCategory::m_TargetUnitId); }
    // The unit set's unit joins the results.
    void ShowUnitInResult();
    // The unit the set stands on becomes the category's source.
    void SetSourceUnit(const CRecordsetUnit& units);
    // The result set's unit leaves the results; the next one becomes the target (after the
    // last, the one before it).
    void HideResult();

    // A category of that name, marked and current; returns its id.
    std::int32_t AddCategory(const std::wstring& strName);
    // Moves the category set onto the category; false when there is none with that id.
    bool MoveToCategory(std::int32_t nCategoryId);
    // Deletes the current category; the one after it (or before it, when it was the last)
    // becomes current and marked.
    void DeleteCategory();
    // A unit of that name in the current category, its current unit; returns its id.
    std::int32_t AddUnit(const std::wstring& strName);
    // Deletes the unit set's unit; its neighbour, if any, becomes the current unit.
    void DeleteUnit();

private:
    void ChooseUnit(const CRecordsetUnit& units, std::int32_t CRecordsetCategory::*pChoice);

    std::wstring m_strPath;
    std::unique_ptr<CDaoDatabase> m_pDatabase;
    std::unique_ptr<CRecordsetCategory> m_pCategorySet;
    std::unique_ptr<CRecordsetUnit> m_pUnitSet;
    std::unique_ptr<CRecordsetResult> m_pResultSet;
    std::int32_t m_nCategoryId = 6;
};
