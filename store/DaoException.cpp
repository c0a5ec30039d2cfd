#include "store/DaoException.h"

#include "store/Utf8.h"

#include <utility>

CDaoException::CDaoException(int code, std::wstring description)
    : m_nErrorCode(code), m_strDescription(std::move(description)), m_what(ToUtf8(m_strDescription))
{
}

const char* CDaoException::what() const noexcept
{
    return m_what.c_str();
}
