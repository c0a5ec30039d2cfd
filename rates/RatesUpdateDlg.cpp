#include "rates/RatesUpdateDlg.h"

#include "rates/RatesSession.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

#include "res/resource.h"

namespace
{
const wchar_t kAgentName[] = L"Kalvo";
}

CRatesUpdateDlg::CRatesUpdateDlg(CWnd* pParent)
    : CDialog(IDD_RATES_PROGRESS, pParent),
      m_hIcon(::LoadIconW(AfxGetInstanceHandle(), MAKEINTRESOURCEW(IDI_APPLICATION_ICON)))
{
}

CRatesUpdateDlg::~CRatesUpdateDlg() = default;

void CRatesUpdateDlg::DoDataExchange(CDataExchange& dx)
{
    CDialog::DoDataExchange(dx);
    dx.Control(IDC_RATES_PROGRESS, m_Progress);
    dx.Control(IDC_RATES_DETAILS, m_Details);
}

BOOL CRatesUpdateDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    // The download starts once the modal loop runs, so the window is up while it waits.
    PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return TRUE;
}

void CRatesUpdateDlg::OnOK()
{
    m_nDownloadResult = RunDownload(m_strServer, m_nPort, m_bSecure, m_strObject, m_strFileName);
    EndDialog(m_nDownloadResult == 200 ? 1 : 0);
}

void CRatesUpdateDlg::OnCancel()
{
    if (m_pRatesSession)
        m_pRatesSession->CloseAll();
    EndDialog(0);
}

int CRatesUpdateDlg::RunDownload(const std::wstring& strServer, INTERNET_PORT nPort, bool bSecure,
                                 const std::wstring& strObject, const std::wstring& strFileName)
{
    m_pRatesSession = std::make_unique<CRatesSession>(this);
    const int nResult = m_pRatesSession->DownloadFile(kAgentName, strServer, strObject, nPort,
                                                      bSecure, strFileName);
    AppendDetail(nResult == 200 ? L"Connection Ok." : L"Error connecting to ECB");
    m_pRatesSession.reset();
    return nResult;
}

void CRatesUpdateDlg::AppendDetail(const std::wstring& strText)
{
    if (!m_Details.m_hWnd)
        return;
    const int nLength = ::GetWindowTextLengthW(m_Details.m_hWnd);
    m_Details.SendMessage(EM_SETSEL, static_cast<WPARAM>(nLength), nLength);
    m_Details.SendMessage(EM_SCROLLCARET);
    const std::wstring strLine = strText + L"\r\n";
    m_Details.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(strLine.c_str()));
}

void CRatesUpdateDlg::OnPaint()
{
    if (!::IsIconic(m_hWnd))
    {
        Default();
        return;
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(&client);
    const int cxIcon = ::GetSystemMetrics(SM_CXICON);
    const int cyIcon = ::GetSystemMetrics(SM_CYICON);
    const int x = (client.right - client.left - cxIcon + 1) / 2;
    const int y = (client.bottom - client.top - cyIcon + 1) / 2;
    ::DrawIcon(dc, x, y, m_hIcon);
    ::EndPaint(m_hWnd, &paint);
}

HCURSOR CRatesUpdateDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}
