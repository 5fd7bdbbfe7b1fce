# Cross build for 32-bit Windows: the shipped build.
set(SETUP_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
