# Cross-build for Windows with mingw-w64: i686, the release, unless
# CTP_MINGW_PROCESSOR says x86_64. That build is for the tests only: where
# the kernel runs no 32-bit programs, 64-bit Wine runs it at full speed.
set(CTP_MINGW_PROCESSOR i686 CACHE STRING "i686 (the release) or x86_64 (for the tests only)")
set(triplet ${CTP_MINGW_PROCESSOR}-w64-mingw32)
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${CTP_MINGW_PROCESSOR})
set(CMAKE_C_COMPILER ${triplet}-gcc)
set(CMAKE_CXX_COMPILER ${triplet}-g++-win32)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_DLLTOOL ${triplet}-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
