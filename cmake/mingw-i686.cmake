# Windows on i686, with Debian's MinGW-w64 toolchain.
set(MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
