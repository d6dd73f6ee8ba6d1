# Shared part of the two MinGW toolchain files; SORVANE_TRIPLE names the target.
set(CMAKE_C_COMPILER ${SORVANE_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SORVANE_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SORVANE_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${SORVANE_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run under Wine in the build's private prefix (scripts/wine-run.sh).
set(CMAKE_CROSSCOMPILING_EMULATOR
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh ${SORVANE_WINEARCH})
