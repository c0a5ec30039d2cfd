#pragma once
// Fetching the central bank's rates document into a file, with the progress window.
#include <windows.h>
#include <wininet.h>

#include <string>

struct RatesServer
{
    std::wstring host;
    INTERNET_PORT port;
    bool secure; // over TLS, with the server's certificate checked
};

// The central bank's public web server, asked over TLS: a plain answer could be anyone's.
extern const RatesServer kCentralBankServer;
// Where the currency update fetches its rates: the bank's server, unless a test points it
// at its own.
extern RatesServer g_ratesServer;

// Where the currency update keeps the rates document between download and rebuild: in the
// user's temporary folder, whatever the current directory is.
std::wstring RatesFilePath();

// Runs the progress window over the download of `object` from the server into `fileName`.
// Non-zero exactly when the server answered 200 and the whole body was stored.
int DownloadRates(const RatesServer& server, const std::wstring& object,
                  const std::wstring& fileName);
