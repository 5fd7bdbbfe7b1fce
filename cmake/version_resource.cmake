# The version resource of a program file: the kit's version and what the file is, as Windows
# shows them in the file's properties and as installers and signing tools read them.
#
#   setup_version_resource(TARGET DESCRIPTION FILE_NAME APP|DLL [NAME VALUE]...)

# The kit's version in the four numbers Windows keeps, the missing ones 0: "1.0.0.0".
string(REPLACE "." ";" SETUP_VERSION_QUAD "${PROJECT_VERSION}.0.0.0")
list(SUBLIST SETUP_VERSION_QUAD 0 4 SETUP_VERSION_QUAD)
list(JOIN SETUP_VERSION_QUAD "." SETUP_VERSION_QUAD)

function(setup_version_resource target description file_name kind)
    string(REPLACE "." "," SETUP_VERSION_NUMBERS "${SETUP_VERSION_QUAD}")
    set(SETUP_FILE_DESCRIPTION "${description}")
    set(SETUP_FILE_NAME "${file_name}")
    get_filename_component(SETUP_INTERNAL_NAME "${file_name}" NAME_WE)
    if(kind STREQUAL "DLL")
        set(SETUP_FILE_TYPE 2) # VFT_DLL
    else()
        set(SETUP_FILE_TYPE 1) # VFT_APP
    endif()
    set(SETUP_MORE_VALUES "")
    set(more ${ARGN})
    while(more)
        list(POP_FRONT more name value)
        string(APPEND SETUP_MORE_VALUES "            VALUE \"${name}\", \"${value}\"\n")
    endwhile()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
endfunction()
