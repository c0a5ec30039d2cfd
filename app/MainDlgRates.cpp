// The currency category's rates update: the central bank's daily document replaces every
// unit of the category.
#include "app/MainDlg.h"

#include "app/DatabaseLocation.h"

#include "rates/CurrencyRebuild.h"
#include "rates/DownloadRates.h"
#include "rates/RatesDocument.h"

#include "framework/FileException.h"
#include "framework/MessageBox.h"

#include "store/DaoException.h"

namespace
{
const wchar_t kRatesObject[] = L"/stats/eurofxref/eurofxref-daily.xml";

const wchar_t kConnectQuestion[] =
    L"Kalvo will connect to European Central Bank (ECB)\nto acquire new currency rates.\n\n"
    L"Please check internet connection before clicking Yes.\n\nDo you want to proceed now?\n";
const wchar_t kConnectionFailed[] =
    L"Connection to ECB failed.\n\nCheck your internet connection or try again later.\n";
const wchar_t kReadError[] = L"Error reading file Currency.xml\n";

std::wstring RecreateQuestion(const std::wstring& categoryName)
{
    return L"New currency rates successfully obtained from the European Central Bank\n\n"
           L"Do you want to recreate category " +
           categoryName + L" using new rates?\n";
}

// The file as the rates scan reads it: line by line, each line followed by "\n". Raises
// CFileException when the file cannot be opened or read.
void ReadTextFile(const std::wstring& fileName, std::wstring& text)
{
    text.clear();
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
    text = MakeWorkingText(bytes);
}
} // namespace

void CMainDlg::OnCurrencyUpdate()
{
    m_btnRenameCategory.SetFocus();
    UpdateCurrencyRates();
}

void CMainDlg::UpdateCurrencyRates()
{
    if (!m_catalogue.IsOpen())
        return;
    const CRecordsetCategory& categories = m_catalogue.Categories();
    const CRecordsetUnit& units = m_catalogue.Units();
    const bool bOnCurrencyCategory = !categories.IsEOF() && !categories.IsBOF() &&
                                     categories.m_CategoryId == kCurrencyCategoryId;
    const bool bOnCurrencyUnit =
        !units.IsEOF() && !units.IsBOF() && units.m_CategoryId == kCurrencyCategoryId;
    if (!bOnCurrencyCategory && !bOnCurrencyUnit)
        return;

    if (AfxMessageBox(kConnectQuestion, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;

    const std::wstring strFile = RatesFilePath();
    bool bDownloaded = DownloadRates(g_ratesServer, kRatesObject, strFile) != 0;
    if (!bDownloaded)
    {
        AfxMessageBox(kConnectionFailed, MB_OK | MB_ICONSTOP);
        return;
    }

    std::wstring strText;
    try
    {
        ReadTextFile(strFile, strText);
    }
    catch (const CFileException&)
    {
        AfxMessageBox(kReadError, MB_OK | MB_ICONSTOP);
        ::DeleteFileW(strFile.c_str());
        bDownloaded = false;
    }

    // The old units go only once the document has given a date and rates of its own.
    const RatesScan scan = ScanRatesDocument(strText);
    if (!bDownloaded || !IsUsableForRebuild(scan))
    {
        AfxMessageBox(kConnectionFailed, MB_OK | MB_ICONSTOP);
        return;
    }

    if (AfxMessageBox(RecreateQuestion(categories.m_CategoryName), MB_YESNO | MB_ICONQUESTION) !=
        IDYES)
    {
        ::DeleteFileW(strFile.c_str());
        return;
    }

    // All or nothing: on any error the user sees it and keeps the old category whole.
    try
    {
        RebuildCurrencyCategory(m_catalogue, scan);
    }
    catch (const CDaoException& e)
    {
        ShowDaoError(e);
    }

    ::DeleteFileW(strFile.c_str());
    // The refill shows the new category name; choosing its marked row again shows the
    // category itself (title, units, value, results) through the selection handler.
    FillCategoryList();
}
