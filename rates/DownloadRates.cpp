#include "rates/DownloadRates.h"

#include "rates/RatesUpdateDlg.h"

const RatesServer kCentralBankServer{L"www.ecb.europa.eu", INTERNET_DEFAULT_HTTPS_PORT, true};

RatesServer g_ratesServer = kCentralBankServer;

std::wstring RatesFilePath()
{
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    std::wstring path(folder, length <= MAX_PATH ? length : 0);
    if (!path.empty() && path.back() != L'\\')
        path += L'\\';
    return path + L"currency.xml";
}

int DownloadRates(const RatesServer& server, const std::wstring& object,
                  const std::wstring& fileName)
{
    // No parent: the framework makes the main window the owner.
    CRatesUpdateDlg dlg;
    dlg.m_strServer = server.host;
    dlg.m_nPort = server.port;
    dlg.m_bSecure = server.secure;
    dlg.m_strObject = object;
    dlg.m_strFileName = fileName;
    return dlg.DoModal() == 1 ? 1 : 0;
}
