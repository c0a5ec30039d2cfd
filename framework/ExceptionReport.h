#pragma once

#include <exception>
#include <new>

// Tells the user about an exception that nothing else handled: "Out of memory." for bad_alloc,
// otherwise the exception's (UTF-8) text, in a stop-icon message box. Never throws.
void ReportException(const std::exception& e) noexcept;

// The same for an exception that is not a std::exception.
void ReportUnknownException() noexcept;

// Runs a callback body so that no C++ exception unwinds into a system DLL's frame (fatal on
// i686 MinGW): anything thrown is reported and the callback answers with the fallback.
template <class R, class F> R GuardCallback(R fallback, F&& body) noexcept
{
    try
    {
        return body();
    }
    catch (const std::bad_alloc& e)
    {
        ReportException(e);
    }
    catch (const std::exception& e)
    {
        ReportException(e);
    }
    catch (...)
    {
        ReportUnknownException();
    }
    return fallback;
}
