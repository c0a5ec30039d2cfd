#pragma once
#include "tools/catalogue/CatalogueSource.h"

#include <string>
#include <vector>

// Writes a new catalogue file with the categories in the given order (the first gets
// CategoryId 1). Fails if the file exists.
void WriteCatalogue(const std::wstring& path, const std::vector<SourceCategory>& categories);
