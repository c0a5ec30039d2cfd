# What both Windows toolchain files share: MinGW-w64 with posix threads for the triple in
# KALVO_MINGW_TRIPLE, libraries and headers from its own root only.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${KALVO_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KALVO_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KALVO_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${KALVO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
