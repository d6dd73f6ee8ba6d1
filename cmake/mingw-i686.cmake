# Cross toolchain for the 32-bit build (Debian's MinGW-w64, posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(SORVANE_TRIPLE i686-w64-mingw32)
set(SORVANE_WINEARCH win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
