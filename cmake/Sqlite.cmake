# SQLite from the amalgamation that tools/setup.sh generates from Debian's source package.
set(KALVO_SQLITE_DIR "${KALVO_DEPS_DIR}/sqlite")
if(NOT EXISTS "${KALVO_SQLITE_DIR}/sqlite3.c")
  message(FATAL_ERROR "No SQLite amalgamation in ${KALVO_SQLITE_DIR}: run tools/setup.sh first")
endif()
add_library(sqlite3 STATIC "${KALVO_SQLITE_DIR}/sqlite3.c")
target_include_directories(sqlite3 SYSTEM PUBLIC "${KALVO_SQLITE_DIR}")
target_compile_definitions(sqlite3 PRIVATE
  SQLITE_DQS=0
  SQLITE_DEFAULT_FOREIGN_KEYS=0
  SQLITE_OMIT_LOAD_EXTENSION
  SQLITE_OMIT_DEPRECATED
  SQLITE_THREADSAFE=0
  SQLITE_DEFAULT_WAL_SYNCHRONOUS=1)
target_compile_options(sqlite3 PRIVATE -w)
set_target_properties(sqlite3 PROPERTIES POSITION_INDEPENDENT_CODE ON)
