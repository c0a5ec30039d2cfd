#pragma once

#include <string>

// Creates a new catalogue file holding the empty Category and Units tables. Throws
// CDaoException if the file already exists or cannot be written.
void CreateCatalogue(const std::wstring& path);
