# What both Windows cross builds share; the toolchain file sets SETUP_MINGW_ARCH (i686 or
# x86_64) and includes this. The posix-thread flavour of mingw-w64 provides std::thread.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${SETUP_MINGW_ARCH})

set(CMAKE_C_COMPILER ${SETUP_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${SETUP_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${SETUP_MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SETUP_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# A package folder carries setup.exe and lumora.dll only: no compiler runtime DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, in the project's own prefix, with this tree's loader.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_COMMAND} -E env SETUP_WIN_ARCH=${SETUP_MINGW_ARCH}
    ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
