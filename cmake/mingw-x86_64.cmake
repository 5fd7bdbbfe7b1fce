# Cross build for 64-bit Windows: the same sources, tested under 64-bit Wine where the
# machine cannot run 32-bit programs.
set(SETUP_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
