#pragma once

#include "store/DaoDatabase.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

// A new empty directory for one test, removed with everything in it afterwards.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const std::wstring& name) const;

private:
    std::wstring m_path;
};

std::string ReadBytes(const std::wstring& path);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// Runs a query on any connection and returns the first column of its first row.
std::int64_t QueryInt(sqlite3* db, const std::string& sql);
std::string QueryText(sqlite3* db, const std::string& sql);
double QueryDouble(sqlite3* db, const std::string& sql); // NaN without a row
// Every row of the catalogue's two tables as text: equal dumps mean an unchanged catalogue.
std::string DumpCatalogue(sqlite3* db);

// Writes a catalogue file holding the sample rows below.
//   Category 1 "Length": units 1 metre (selected), 2 Foot, 3 inch (selected), 4 Yard
//   Category 2 "area":   units 5 hectare (selected), 6 Acre (selected)
//   Category 3 "Mass":   no units
void CreateSampleCatalogue(const std::wstring& path);

// A fresh sample catalogue per test, open in m_db.
class CatalogueTest : public ::testing::Test
{
protected:
    void SetUp() override;

    std::int64_t Int(const std::string& sql) { return QueryInt(m_db.Handle(), sql); }
    std::string Text(const std::string& sql) { return QueryText(m_db.Handle(), sql); }

    TempDir m_dir;
    std::wstring m_path;
    CDaoDatabase m_db;
};
