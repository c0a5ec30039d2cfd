# 64-bit Windows, tests run under 64-bit Wine. The loader is named directly: Debian's "wine"
# script starts the 32-bit loader whenever wine32 is installed, and that cannot run on a
# machine that executes no 32-bit code.
set(KALVO_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
