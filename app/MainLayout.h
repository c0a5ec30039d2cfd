#pragma once
// The main window's fixed pixel layout: it matches the background artwork, at every scale.
#include "framework/Wnd.h"

// Moves every visible control of the main window to its place.
void PlaceMainWindowControls(CWnd& mainWindow);
