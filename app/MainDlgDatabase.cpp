// Opening and closing the catalogue.
#include "app/MainDlg.h"

#include "app/DatabaseLocation.h"

#include "store/DaoException.h"
#include "store/DatabaseFile.h"

namespace
{
// Opens a record set; returns null after an engine error, reported when asked to.
template <class TRecordset, class... TArgs>
std::unique_ptr<TRecordset> OpenRecordset(bool bReportError, TArgs... args)
{
    auto recordset = std::make_unique<TRecordset>(args...);
    try
    {
        recordset->m_strSort.clear();
        recordset->Open();
        recordset->CanUpdate();
        return recordset;
    }
    catch (const CDaoException& e)
    {
        if (bReportError)
            ShowDaoError(e);
        return nullptr;
    }
}
} // namespace

BOOL CMainDlg::OpenDatabase()
{
    // A 64-bit program gets no file virtualization on Windows: in a protected program folder
    // it must keep its catalogue elsewhere or fail at its first start.
    m_strDbPath =
        UserCopyIfReadOnly(ChooseDatabasePath(GetDatabaseBasePath()), GetUserCatalogueFolder);
    CloseDatabase();

    auto database = std::make_unique<CDaoDatabase>();
    try
    {
        database->Open(m_strDbPath);
    }
    catch (const CDaoException& e)
    {
        ShowDaoError(e);
        return FALSE;
    }
    const bool bOpen = database->IsOpen();
    m_pDatabase = std::move(database);
    if (!bOpen)
        return FALSE;

    m_pCategorySet = OpenRecordset<CRecordsetCategory>(false, m_pDatabase.get());
    if (!m_pCategorySet)
        return FALSE;
    m_pUnitSet = OpenRecordset<CRecordsetUnit>(true, m_pDatabase.get(), &m_nCategoryId);
    if (!m_pUnitSet)
        return FALSE;
    m_pResultSet = OpenRecordset<CRecordsetResult>(true, m_pDatabase.get(), &m_nCategoryId);
    return m_pResultSet != nullptr;
}

void CMainDlg::CloseDatabase()
{
    // Sets before the database, so no statement outlives its connection.
    m_pCategorySet.reset();
    m_pUnitSet.reset();
    m_pResultSet.reset();
    m_pDatabase.reset();
    CompactDatabaseFile(m_strDbPath);
}
