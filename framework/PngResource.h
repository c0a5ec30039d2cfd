#pragma once
// PNG pictures among the program's resources (type "PNG"), decoded by the system's imaging
// component. COM and the codecs are loaded only when such a picture is first wanted.
#include "framework/Pixels.h"

// The pixels of PNG resource `id`, or an empty picture when it is missing or unreadable.
CPixels AfxLoadPngResource(UINT id);
