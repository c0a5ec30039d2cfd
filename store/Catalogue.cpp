#include "store/Catalogue.h"

#include "store/DaoException.h"
#include "store/DatabaseFile.h"
#include "store/UnitValues.h"

namespace
{
// Opens a set in table order and asks whether it can be updated, as every set is opened.
template <class TRecordset, class... TArgs>
std::unique_ptr<TRecordset> OpenRecordset(TArgs... args)
{
    auto recordset = std::make_unique<TRecordset>(args...);
    recordset->m_strSort.clear();
    recordset->Open();
    recordset->CanUpdate();
    return recordset;
}

// After a delete: the record that followed, or the one before when it was the last.
void MoveToNeighbour(CDaoRecordset& recordset)
{
    recordset.MoveNext();
    if (recordset.IsEOF())
        recordset.MovePrev();
}

bool HasCurrentRecord(const CDaoRecordset& recordset)
{
    return recordset.GetAbsolutePosition() >= 0;
}
} // namespace

CCatalogue::~CCatalogue() { Close(); }

bool CCatalogue::Open(const std::wstring& strPath)
{
    // Closing compacts the file: an open starts from a compacted catalogue.
    m_strPath = strPath;
    Close();
    auto database = std::make_unique<CDaoDatabase>();
    database->Open(m_strPath);
    m_pDatabase = std::move(database);
    try
    {
        m_pCategorySet = OpenRecordset<CRecordsetCategory>(m_pDatabase.get());
    }
    catch (const CDaoException&)
    {
        return false;
    }
    m_pUnitSet = OpenRecordset<CRecordsetUnit>(m_pDatabase.get(), &m_nCategoryId);
    m_pResultSet = OpenRecordset<CRecordsetResult>(m_pDatabase.get(), &m_nCategoryId);
    return true;
}

void CCatalogue::Close()
{
    m_pCategorySet.reset();
    m_pUnitSet.reset();
    m_pResultSet.reset();
    m_pDatabase.reset();
    if (!m_strPath.empty())
        CompactDatabaseFile(m_strPath);
}

bool CCatalogue::IsOpen() const
{
    return m_pDatabase && m_pCategorySet && m_pUnitSet && m_pResultSet;
}

bool CCatalogue::OnCurrencyCategory() const
{
    return m_pCategorySet && HasCurrentRecord(*m_pCategorySet) &&
           m_pCategorySet->m_CategoryId == kCurrencyCategoryId;
}

void CCatalogue::SortCategories(int nMode)
{
    m_pCategorySet->m_strSort =
        nMode == 1 ? L"CategoryName" : nMode == 2 ? L"CategoryName DESC" : L"";
    m_pCategorySet->Requery();
}

std::int32_t CCatalogue::FindMarkedCategory()
{
    std::int32_t nRow = 0;
    m_pCategorySet->FindSelected(m_nCategoryId, nRow);
    return nRow;
}

void CCatalogue::SelectCategory()
{
    m_pCategorySet->MarkSelected();
    m_nCategoryId = m_pCategorySet->m_CategoryId;
}

double CCatalogue::SourceValue()
{
    CRecordsetUnit& units = *m_pUnitSet;
    double dValue = 0.0;
    if (units.GetRecordCount() == 0)
        return dValue;
    const std::int32_t nPosition = units.GetAbsolutePosition();
    if (units.FindUnit(m_pCategorySet->m_SourceUnitId))
        dValue = units.m_UserValue;
    if (nPosition >= 0)
        units.SetAbsolutePosition(nPosition);
    return dValue;
}

std::wstring CCatalogue::SourceUnitName()
{
    CRecordsetUnit& units = *m_pUnitSet;
    CRecordsetCategory& categories = *m_pCategorySet;
    std::wstring strName;
    try
    {
        if (units.GetRecordCount() == 0)
            return strName;
        const std::int32_t nPosition =
            units.GetAbsolutePosition() < 0 ? 0 : units.GetAbsolutePosition();
        const bool bFound = units.FindUnit(categories.m_SourceUnitId);
        if (bFound)
            strName = units.m_UnitName;
        units.SetAbsolutePosition(nPosition);
        if (!bFound || strName.empty())
        {
            categories.Edit();
            categories.m_SourceUnitId = units.m_UnitId;
            categories.Update();
            strName = units.m_UnitName;
        }
    }
    catch (const CDaoException&)
    {
        // The name is only shown: an empty one is better than no lists at all.
    }
    return strName;
}

void CCatalogue::StoreValue(double x) { RecalculateUnitValues(x, *m_pCategorySet, *m_pUnitSet); }

void CCatalogue::UpdateUnit(CRecordsetUnit& units, const UnitScale& scaleBefore, double x)
{
    CDaoTransaction transaction(*m_pDatabase);
    units.Update();
    if (ScaleOf(units) != scaleBefore)
        StoreValue(x);
    transaction.CommitTrans();
}

void CCatalogue::ChooseUnit(const CRecordsetUnit& units,
                            std::int32_t CRecordsetCategory::*pChoice)
{
    m_pCategorySet->Edit();
    (*m_pCategorySet).*pChoice = units.m_UnitId;
    m_pCategorySet->Update();
}

void CCatalogue::ShowUnitInResult()
{
    m_pUnitSet->Edit();
    m_pUnitSet->m_IsSelected = true;
    m_pUnitSet->Update();
}

void CCatalogue::SetSourceUnit(const CRecordsetUnit& units)
{
    m_pCategorySet->Edit();
    m_pCategorySet->m_SourceUnitId = units.m_UnitId;
    m_pCategorySet->Update();
}

void CCatalogue::HideResult()
{
    CRecordsetResult& results = *m_pResultSet;
    CDaoTransaction transaction(*m_pDatabase);
    results.Edit();
    results.m_IsSelected = false;
    results.Update();
    results.MoveNext();
    if (results.IsEOF())
    {
        results.MovePrev();
        results.MovePrev();
    }
    if (!results.IsBOF() && !results.IsEOF())
        ChooseUnit(results, &CRecordsetCategory::m_TargetUnitId);
    transaction.CommitTrans();
}

std::int32_t CCatalogue::AddCategory(const std::wstring& strName)
{
    CRecordsetCategory& categories = *m_pCategorySet;
    CDaoTransaction transaction(*m_pDatabase);
    categories.AddNew();
    categories.m_CategoryName = strName;
    categories.Update();
    // A record added since the last requery stands at the end of the set.
    categories.MoveLast();
    const std::int32_t nNewId = categories.m_CategoryId;
    categories.MarkSelected();
    transaction.CommitTrans();
    return nNewId;
}

bool CCatalogue::MoveToCategory(std::int32_t nCategoryId)
{
    CRecordsetCategory& categories = *m_pCategorySet;
    for (categories.MoveFirst(); !categories.IsEOF(); categories.MoveNext())
        if (categories.m_CategoryId == nCategoryId)
            return true;
    return false;
}

void CCatalogue::DeleteCategory()
{
    CRecordsetCategory& categories = *m_pCategorySet;
    CDaoTransaction transaction(*m_pDatabase);
    categories.Delete();
    MoveToNeighbour(categories);
    // Deleting the only category leaves nothing to select.
    if (HasCurrentRecord(categories))
        categories.MarkSelected();
    transaction.CommitTrans();
}

std::int32_t CCatalogue::AddUnit(const std::wstring& strName)
{
    CRecordsetUnit& units = *m_pUnitSet;
    CDaoTransaction transaction(*m_pDatabase);
    units.AddNew();
    units.m_UnitName = strName;
    units.m_IsInvertResult = false;
    units.m_CategoryId = m_nCategoryId;
    units.Update();
    units.MoveLast();
    const std::int32_t nNewId = units.m_UnitId;
    ChooseUnit(units, &CRecordsetCategory::m_CurrentUnitId);
    transaction.CommitTrans();
    return nNewId;
}

void CCatalogue::DeleteUnit()
{
    CRecordsetUnit& units = *m_pUnitSet;
    CDaoTransaction transaction(*m_pDatabase);
    units.Delete();
    MoveToNeighbour(units);
    // The category's only unit leaves no current unit to record.
    if (HasCurrentRecord(units))
        ChooseUnit(units, &CRecordsetCategory::m_CurrentUnitId);
    transaction.CommitTrans();
}
