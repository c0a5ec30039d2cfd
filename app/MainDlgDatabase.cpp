// Opening the catalogue, and what a failed catalogue command does.
#include "app/MainDlg.h"

#include "app/DatabaseLocation.h"

#include "framework/MessageBox.h"

#include "store/DaoException.h"
#include "store/DatabaseFile.h"

BOOL CMainDlg::OpenDatabase()
{
    // A 64-bit program gets no file virtualization on Windows: in a protected program folder
    // it must keep its catalogue elsewhere or fail at its first start.
    const std::wstring strPath =
        UserCopyIfReadOnly(ChooseDatabasePath(GetDatabaseBasePath()), GetUserCatalogueFolder);
    try
    {
        return m_catalogue.Open(strPath);
    }
    catch (const CDaoException& e)
    {
        ShowDaoError(e);
        return FALSE;
    }
}

void CMainDlg::ShowCatalogueError()
{
    AfxMessageBox(L"Error loading Kalvo.dat\n\nYou can reinstall Kalvo to fix units database.",
                  MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDCANCEL);
}

void CMainDlg::RunCatalogueCommand(unsigned nLists, const std::function<void()>& command)
{
    try
    {
        command();
    }
    catch (...)
    {
        if (nLists & kCategoryList)
        {
            // A rolled-back delete brings its record back: only a requery sees it again.
            if (m_catalogue.IsOpen())
                m_catalogue.Categories().Requery();
            FillCategoryList();
        }
        if (nLists & kUnitList)
            FillUnitList();
        if (nLists & kResultList)
            FillResultList();
        throw;
    }
}
