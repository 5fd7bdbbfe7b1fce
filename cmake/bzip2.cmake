# libbz2 as target `bz2`: the system library natively, built from Debian's source for Windows.
if(WIN32)
    set(BZIP2_SOURCE_DIR ${PROJECT_SOURCE_DIR}/.deps/bzip2)
    if(NOT EXISTS ${BZIP2_SOURCE_DIR}/bzlib.c)
        message(FATAL_ERROR "bzip2 sources missing in ${BZIP2_SOURCE_DIR}: run scripts/bootstrap")
    endif()
    add_library(bz2 STATIC
        ${BZIP2_SOURCE_DIR}/blocksort.c ${BZIP2_SOURCE_DIR}/huffman.c ${BZIP2_SOURCE_DIR}/crctable.c
        ${BZIP2_SOURCE_DIR}/randtable.c ${BZIP2_SOURCE_DIR}/compress.c ${BZIP2_SOURCE_DIR}/decompress.c
        ${BZIP2_SOURCE_DIR}/bzlib.c)
    target_include_directories(bz2 SYSTEM PUBLIC ${BZIP2_SOURCE_DIR})
    # Third-party code: built as it comes, without our warning policy.
    target_compile_options(bz2 PRIVATE -w -O2)
else()
    find_package(BZip2 REQUIRED)
    add_library(bz2 INTERFACE)
    target_link_libraries(bz2 INTERFACE BZip2::BZip2)
endif()
