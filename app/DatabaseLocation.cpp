#include "app/DatabaseLocation.h"

#include "framework/LazyImport.h"
#include "framework/MessageBox.h"

#include "store/DaoException.h"

#include <windows.h>

#include <shlobj.h>

std::wstring GetDatabaseBasePath()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;)
    {
        const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size())
        {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const auto slash = path.find_last_of(L"\\/");
    const auto dot = path.find_last_of(L'.');
    if (dot != std::wstring::npos && (slash == std::wstring::npos || dot > slash))
        path.erase(dot);
    return path;
}

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
