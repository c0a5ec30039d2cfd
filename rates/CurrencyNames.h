#pragma once
// English names of the ISO 4217 currency codes, used to name the units that the rates
// update creates. The table is built in and read-only.
#include <cstddef>
#include <string>

struct CurrencyName
{
    const wchar_t* code; // three upper-case letters
    const wchar_t* name;
};

// The rows in table order: codes in use (alphabetical), then the currencies the euro
// replaced and the ECU, then withdrawn codes (alphabetical).
const CurrencyName* CurrencyNameTable();
std::size_t CurrencyNameCount();

// True and the currency's name when the first three characters of `code`, with a-z taken
// as A-Z, are a code of the table; else false and an empty `name`.
bool LookupCurrencyName(const std::wstring& code, std::wstring& name);
