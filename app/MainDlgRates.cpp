// The currency category's rates update: the central bank's daily document replaces every
// unit of the category. The command's flow is the rates library's; here it meets the user
// through message boxes and the network through the progress window's download.
#include "app/MainDlg.h"

#include "app/DatabaseLocation.h"

#include "rates/CurrencyUpdate.h"
#include "rates/DownloadRates.h"

#include "framework/MessageBox.h"

#include "store/DaoException.h"

namespace
{
const wchar_t kRatesObject[] = L"/stats/eurofxref/eurofxref-daily.xml";

// The whole file's bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::wstring& fileName, std::string& bytes)
{
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bytes.clear();
    char buffer[4096];
    DWORD read = 0;
    BOOL bRead;
    while ((bRead = ::ReadFile(file, buffer, sizeof(buffer), &read, nullptr)) && read > 0)
        bytes.append(buffer, read);
    ::CloseHandle(file);
    return bRead != FALSE;
}

class CMessageBoxUpdateSite : public ICurrencyUpdateSite
{
public:
    bool Ask(const std::wstring& question) override
    {
        return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
    }
    void Tell(const std::wstring& failure) override { AfxMessageBox(failure, MB_OK | MB_ICONSTOP); }
    void ReportEngineError(const CDaoException& e) override { ShowDaoError(e); }
    bool DownloadDocument() override
    {
        return DownloadRates(g_ratesServer, kRatesObject, m_strFile) != 0;
    }
    bool ReadDocument(std::string& bytes) override { return ReadFileBytes(m_strFile, bytes); }
    void DeleteDocument() override { ::DeleteFileW(m_strFile.c_str()); }

private:
    const std::wstring m_strFile = RatesFilePath();
};
} // namespace

void CMainDlg::OnCurrencyUpdate()
{
    m_btnRenameCategory.SetFocus();
    UpdateCurrencyRates();
}

void CMainDlg::UpdateCurrencyRates()
{
    CMessageBoxUpdateSite site;
    if (UpdateCurrencyCategory(m_catalogue, site) == CurrencyUpdateResult::Untouched)
        return;
    // The refill shows the new category name, or after a refused rebuild the old category
    // as the file holds it; choosing its marked row again shows the category itself (title,
    // units, value, results) through the selection handler.
    FillCategoryList();
}
