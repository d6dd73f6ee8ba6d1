# Cross toolchain for the 64-bit build (Debian's MinGW-w64, posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SORVANE_TRIPLE x86_64-w64-mingw32)
set(SORVANE_WINEARCH win64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
