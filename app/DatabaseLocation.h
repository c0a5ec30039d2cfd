#pragma once
// Where the program looks for its files: beside itself, under its own base name.
#include <string>

class CDaoException;

// The program file's full path without its extension, e.g. C:\Apps\Kalvo.
std::wstring GetDatabaseBasePath();

// The user's own folder for a catalogue the program folder does not let us write
// (%LOCALAPPDATA%\Kalvo), or an empty string when Windows names no such folder.
std::wstring GetUserCatalogueFolder();

// The engine's error in the application's message box: description and code.
void ShowDaoError(const CDaoException& e);
