#pragma once

#include <exception>
#include <string>

// A failure reported by the database engine. The code is SQLite's result code (possibly an
// extended one) and the description its message; running out of memory is reported as
// std::bad_alloc instead, like everywhere else in the program.
class CDaoException : public std::exception
{
public:
    CDaoException(int code, std::wstring description);

    const char* what() const noexcept override;

    int m_nErrorCode;
    std::wstring m_strDescription;

private:
    std::string m_what; // UTF-8 copy of the description, for handlers that only know what()
};
