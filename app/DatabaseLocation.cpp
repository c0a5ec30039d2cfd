#include "app/DatabaseLocation.h"

#include "framework/LazyImport.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"

#include "store/DaoException.h"

#include <windows.h>

#include <shlobj.h>

std::wstring GetDatabaseBasePath() { return AfxGetModuleBasePath(nullptr); }

std::wstring GetUserCatalogueFolder()
{
    // Looked up only now: shell32 is needed nowhere else.
    static const auto getFolderPath =
        AfxLazyImport<decltype(&::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
    wchar_t folder[MAX_PATH] = {};
    if (!getFolderPath ||
        FAILED(getFolderPath(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)))
        return std::wstring();
    return std::wstring(folder) + L"\\Kalvo";
}

void ShowDaoError(const CDaoException& e)
{
    AfxMessageBox(e.m_strDescription + L"   (" + std::to_wstring(e.m_nErrorCode) + L")\n\n",
                  MB_OK);
}
