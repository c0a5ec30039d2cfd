#pragma once
// The starter catalogue the build wrote, read once through the store's record sets into
// plain values, so each test can walk it freely.
#include "engine/Conversion.h"

#include <cstdint>
#include <string>
#include <vector>

struct CatalogueUnit
{
    std::int32_t id = 0;
    std::wstring name;
    UnitScale scale{};
    bool isShown = false;
    std::wstring note;
    double userValue = 0.0;
};

struct CatalogueCategory
{
    std::int32_t id = 0;
    std::wstring name;
    std::int32_t iconId = 0;
    bool isSelected = false;
    std::int32_t sourceUnitId = 0, currentUnitId = 0, targetUnitId = 0;
    std::wstring note;
    std::vector<CatalogueUnit> units; // in the order they were added
};

// In table order. The file is copied first, so the build's output is never opened.
const std::vector<CatalogueCategory>& BuiltCatalogue();

// Nullptr when there is no such name (exact, UTF-8).
const CatalogueCategory* FindCategory(const std::string& name);
const CatalogueUnit* FindUnit(const CatalogueCategory& category, const std::string& name);
const CatalogueUnit* FindUnit(const CatalogueCategory& category, std::int32_t unitId);
