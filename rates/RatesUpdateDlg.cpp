#include "rates/RatesUpdateDlg.h"

#include "rates/RatesSession.h"

#include "framework/DataExchange.h"
#include "framework/WinApp.h"

#include "res/resource.h"

#include <atomic>
#include <chrono>
#include <thread>

#include <thread>

namespace
{
const wchar_t kAgentName[] = L"Kalvo";
constexpr int kRunning = -1;      // no result yet
constexpr int kStopGraceMs = 900; // a stop ends the download within a second
} // namespace

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
        m_pRatesSession->Stop();
    EndDialog(0);
}

// The network calls block for as long as a server keeps them waiting, so they run on a
// worker while this thread keeps the window answering, its close box included. A worker
// that does not end within a second of a stop is left to end on its own: it owns what it
// uses and reports nothing more.
int CRatesUpdateDlg::RunDownload(const std::wstring& strServer, INTERNET_PORT nPort, bool bSecure,
                                 const std::wstring& strObject, const std::wstring& strFileName)
{
    const auto session = std::make_shared<CRatesSession>(this);
    const auto result = std::make_shared<std::atomic<int>>(kRunning);
    m_pRatesSession = session;
    std::thread(
        [session, result, strServer, nPort, bSecure, strObject, strFileName]
        {
            *result = session->DownloadFile(kAgentName, strServer, strObject, nPort, bSecure,
                                            strFileName);
            session->ReportEnd();
        })
        .detach();
    WaitForDownload(*result);
    session->DetachDialog();
    PumpMessages(); // the lines the worker posted before it let go
    const int nResult = *result == kRunning ? kRatesDownloadStopped : result->load();
    AppendDetail(nResult == 200 ? L"Connection Ok." : L"Error connecting to ECB");
    m_pRatesSession.reset();
    return nResult;
}

void CRatesUpdateDlg::WaitForDownload(const std::atomic<int>& result)
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point stopDeadline = Clock::time_point::max();
    while (result == kRunning && Clock::now() < stopDeadline)
    {
        if (!PumpMessages())
            m_pRatesSession->Stop(); // quitting: the quit message is left to the modal loop
        if (m_pRatesSession->m_bStop && stopDeadline == Clock::time_point::max())
            stopDeadline = Clock::now() + std::chrono::milliseconds(kStopGraceMs);
        if (result == kRunning)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

void CRatesUpdateDlg::PostDetail(const wchar_t* line)
{
    ::PostMessageW(m_hWnd, kDetailMessage, 0, reinterpret_cast<LPARAM>(line));
}

LRESULT CRatesUpdateDlg::OnDetail(WPARAM, LPARAM lParam)
{
    AppendDetail(reinterpret_cast<const wchar_t*>(lParam));
    return 0;
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
