#pragma once

// Registers the common-control classes the program uses (list view, bars, progress, tooltips).
void AfxInitCommonControls();
