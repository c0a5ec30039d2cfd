#pragma once
// The small modal window that shows the rates download: a progress bar and a running list
// of connection events. The download runs inside it as soon as its modal loop starts.
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/MessageMap.h"

#include <wininet.h>

#include <atomic>
#include <memory>
#include <string>

class CRatesSession;

class CRatesUpdateDlg : public CDialog
{
public:
    explicit CRatesUpdateDlg(CWnd* pParent = nullptr);
    ~CRatesUpdateDlg() override;

    // Appends the text and a line end to the details box and scrolls it into view.
    void AppendDetail(const std::wstring& strText);
    // The same from any thread, through the window's queue. The line must outlive the
    // window (the status lines are literals).
    void PostDetail(const wchar_t* line);
    // The download result: an HTTP status, 0 for a failure, 500 when stopped by the user.
    int RunDownload(const std::wstring& strServer, INTERNET_PORT nPort, bool bSecure,
                    const std::wstring& strObject, const std::wstring& strFileName);

    CProgressCtrl m_Progress;
    CEdit m_Details;
    std::wstring m_strServer;
    INTERNET_PORT m_nPort = INTERNET_DEFAULT_HTTPS_PORT;
    bool m_bSecure = true;
    std::wstring m_strObject;
    std::wstring m_strFileName;
    std::shared_ptr<CRatesSession> m_pRatesSession; // set while a download runs
    int m_nDownloadResult = 0;                      // of the last RunDownload

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    BEGIN_MSG_MAP(CRatesUpdateDlg)
    ON_MESSAGE(kDetailMessage, OnDetail)
    ON_WM_PAINT(OnPaint)
    ON_WM_QUERYDRAGICON(OnQueryDragIcon)
    END_MSG_MAP(CDialog)

private:
    static constexpr UINT kDetailMessage = WM_APP + 1; // lParam: the line
    LRESULT OnDetail(WPARAM, LPARAM lParam);
    void WaitForDownload(const std::atomic<int>& result);
    void OnPaint();
    HCURSOR OnQueryDragIcon();

    HICON m_hIcon;
};
