#include "StoreTestSupport.h"

#include "store/CatalogueSchema.h"
#include "store/FileSystem.h"
#include "store/Utf8.h"

#include <sqlite3.h>

#include <cmath>
#include <cstdio>
#include <stdexcept>

TempDir::TempDir() : m_path(FileSystem::CreateTempDirectory())
{
    if (m_path.empty())
        throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir()
{
    FileSystem::RemoveTree(m_path);
}

std::wstring TempDir::File(const std::wstring& name) const
{
    return m_path + FileSystem::PathSeparator() + name;
}

namespace
{
std::FILE* OpenFile(const std::wstring& path, bool write)
{
#ifdef _WIN32
    return ::_wfopen(path.c_str(), write ? L"wb" : L"rb");
#else
    return std::fopen(ToUtf8(path).c_str(), write ? "wb" : "rb");
#endif
}

sqlite3_stmt* Prepare(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return stmt;
}
} // namespace

std::string ReadBytes(const std::wstring& path)
{
    std::FILE* file = OpenFile(path, false);
    if (file == nullptr)
        throw std::runtime_error("cannot read " + ToUtf8(path));
    std::string bytes;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::FILE* file = OpenFile(path, true);
    if (file == nullptr)
        throw std::runtime_error("cannot write " + ToUtf8(path));
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::int64_t QueryInt(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = Prepare(db, sql);
    std::int64_t value = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -1;
    sqlite3_finalize(stmt);
    return value;
}

std::string QueryText(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = Prepare(db, sql);
    std::string value;
    if (sqlite3_step(stmt) == SQLITE_ROW && sqlite3_column_text(stmt, 0) != nullptr)
        value = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
    sqlite3_finalize(stmt);
    return value;
}

double QueryDouble(sqlite3* db, const std::string& sql)
{
    sqlite3_stmt* stmt = Prepare(db, sql);
    const double value =
        sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_double(stmt, 0) : std::nan("");
    sqlite3_finalize(stmt);
    return value;
}

std::string DumpCatalogue(sqlite3* db)
{
    std::string text;
    for (const char* sql :
         {"SELECT * FROM Category ORDER BY CategoryId", "SELECT * FROM Units ORDER BY UnitId"})
    {
        sqlite3_stmt* stmt = Prepare(db, sql);
        while (sqlite3_step(stmt) == SQLITE_ROW)
        {
            for (int i = 0; i < sqlite3_column_count(stmt); ++i)
            {
                const auto* value = sqlite3_column_text(stmt, i);
                text += value ? reinterpret_cast<const char*>(value) : "NULL";
                text += '|';
            }
            text += '\n';
        }
        sqlite3_finalize(stmt);
    }
    return text;
}

void CreateSampleCatalogue(const std::wstring& path)
{
    CreateCatalogue(path);
    CDaoDatabase db;
    db.Open(path);
    db.Execute(L"INSERT INTO Category (CategoryName) VALUES ('Length'), ('area'), ('Mass');"
               L"INSERT INTO Units (UnitName, CategoryId, FactorMul, IsSelected) VALUES"
               L" ('metre', 1, 1.0, 1), ('Foot', 1, 0.3048, 0), ('inch', 1, 0.0254, 1),"
               L" ('Yard', 1, 0.9144, 0), ('hectare', 2, 10000.0, 1), ('Acre', 2, 4046.86, 1);");
}

void CatalogueTest::SetUp()
{
    m_path = m_dir.File(L"Kalvo.dat");
    CreateSampleCatalogue(m_path);
    m_db.Open(m_path);
}
