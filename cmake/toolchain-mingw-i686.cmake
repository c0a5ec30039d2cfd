# 32-bit Windows, tests run under Wine's 32-bit loader, named by its own path like the
# 64-bit toolchain names its loader.
set(KALVO_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
