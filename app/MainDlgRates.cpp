// The currency category's rates update: the central bank's daily document replaces every
// unit of the category. The command's flow is the rates library's; here it meets the user
// through message boxes and the network through the progress window's download.
#include "app/MainDlg.h"

#include "app/DatabaseLocation.h"

#include "rates/CurrencyUpdate.h"
#include "rates/DownloadRates.h"

#include "framework/FileException.h"
#include "framework/MessageBox.h"

#include "store/DaoException.h"

namespace
{
const wchar_t kRatesObject[] = L"/stats/eurofxref/eurofxref-daily.xml";

// The whole file's bytes. Raises CFileException when it cannot be opened or read.
std::string ReadFileBytes(const std::wstring& fileName)
{
    HANDLE file = ::CreateFileW(fileName.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        CFileException::ThrowOsError(fileName);
    std::string bytes;
    char buffer[4096];
    for (;;)
    {
        DWORD read = 0;
        if (!::ReadFile(file, buffer, sizeof(buffer), &read, nullptr))
        {
            const DWORD error = ::GetLastError();
            ::CloseHandle(file);
            throw CFileException(CFileException::OsErrorToCause(error), error, fileName);
        }
        if (read == 0)
            break;
        bytes.append(buffer, read);
    }
    ::CloseHandle(file);
    return bytes;
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
    bool ReadDocument(std::string& bytes) override
    {
        try
        {
            bytes = ReadFileBytes(m_strFile);
            return true;
        }
        catch (const CFileException&)
        {
            return false;
        }
    }
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
