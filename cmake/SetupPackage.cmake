# SetupPackage: turns a project's install components into a Setup package folder with
# `cpack -G External`: one archive per component, setup.tsi written from the project's name,
# version, vendor and components, setup.exe, lumora.dll and uninstall.exe from the kit, and `tsa check` run
# over the result. Include it from the top-level CMakeLists.txt of the project:
#
#   set(CPACK_PACKAGE_VENDOR "Example Software")
#   list(APPEND CMAKE_MODULE_PATH /path/to/setup-kit-VERSION/cmake)
#   include(SetupPackage)
#   install(TARGETS app DESTINATION bin COMPONENT program)
#   cpack_add_component(program DISPLAY_NAME "Program files" REQUIRED)
#   cpack_add_component(manual DISPLAY_NAME "Manual")                # ticked at the start
#   cpack_add_component(samples DISPLAY_NAME "Samples" DISABLED)     # not ticked
#   setup_package_link(COMPONENT program NAME "Example" FILE "bin\\app.exe")
#
# and run `cpack -G External` in the build folder. The package folder is
# <build>/<CPACK_PACKAGE_FILE_NAME>/ (by default "<name>-<version>-win32"); with
# SETUP_PACKAGE_BUNDLE, the one program beside it is <CPACK_PACKAGE_FILE_NAME>.exe.
#
# Settings, each optional, set before the include:
#   SETUP_PACKAGE_ARCH          win32 (default) or win64: which setup.exe and lumora.dll ship
#   SETUP_PACKAGE_PROGRAMS      the folder holding them (default: the kit's folder of that name)
#   SETUP_PACKAGE_TSA           the command that runs tsa (default: the kit's tool for this host)
#   SETUP_PACKAGE_COPY_LUMORA   ON: the installation copies lumora.dll into the destination
#   SETUP_PACKAGE_REBOOT        ON: the wizard ends on the page that offers a restart
#   SETUP_PACKAGE_BACKGROUND    OFF: no full-screen background window
#   SETUP_PACKAGE_REMOVABLE     OFF: no uninstaller and no entry in Windows' list of installed
#                               programs (default ON, as `tsa new` makes packages)
#   SETUP_PACKAGE_BUNDLE        ON: also make the package into one program (`tsa bundle`), with
#                               the launcher.exe of SETUP_PACKAGE_PROGRAMS
#   CPACK_RESOURCE_FILE_LICENSE the licence the user must accept (no licence page without it)
#   CPACK_PACKAGE_INSTALL_DIRECTORY  the folder below Program Files (default "<name> <version>")
# Components are offered in the order of CPACK_COMPONENTS_ALL, which may be set to choose it.
include_guard(GLOBAL)

get_filename_component(_setup_kit_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(NOT DEFINED SETUP_PACKAGE_ARCH)
    set(SETUP_PACKAGE_ARCH win32)
endif()
if(NOT SETUP_PACKAGE_ARCH MATCHES "^win(32|64)$")
    message(FATAL_ERROR "SetupPackage: SETUP_PACKAGE_ARCH is win32 or win64, not '${SETUP_PACKAGE_ARCH}'")
endif()
if(NOT DEFINED SETUP_PACKAGE_PROGRAMS)
    set(SETUP_PACKAGE_PROGRAMS "${_setup_kit_dir}/${SETUP_PACKAGE_ARCH}")
endif()
if(NOT DEFINED SETUP_PACKAGE_TSA)
    if(CMAKE_HOST_WIN32)
        set(SETUP_PACKAGE_TSA "${_setup_kit_dir}/win32/tsa.exe")
    else()
        set(SETUP_PACKAGE_TSA "${_setup_kit_dir}/linux-x86_64/tsa")
    endif()
endif()
if(NOT DEFINED SETUP_PACKAGE_REMOVABLE)
    set(SETUP_PACKAGE_REMOVABLE ON)
endif()
set(_setup_files setup.exe lumora.dll)
if(SETUP_PACKAGE_REMOVABLE)
    list(APPEND _setup_files uninstall.exe)
endif()
if(SETUP_PACKAGE_BUNDLE)
    list(APPEND _setup_files launcher.exe)
endif()
foreach(_setup_file IN LISTS _setup_files)
    if(NOT EXISTS "${SETUP_PACKAGE_PROGRAMS}/${_setup_file}")
        message(FATAL_ERROR "SetupPackage: no ${_setup_file} in ${SETUP_PACKAGE_PROGRAMS} (SETUP_PACKAGE_PROGRAMS)")
    endif()
endforeach()

# Everything the packaging step needs travels to cpack as CPACK_ variables.
set(CPACK_SETUP_PROGRAMS "${SETUP_PACKAGE_PROGRAMS}")
set(CPACK_SETUP_TSA "${SETUP_PACKAGE_TSA}")
set(CPACK_SETUP_COPY_LUMORA "${SETUP_PACKAGE_COPY_LUMORA}")
set(CPACK_SETUP_REBOOT "${SETUP_PACKAGE_REBOOT}")
set(CPACK_SETUP_BUNDLE "${SETUP_PACKAGE_BUNDLE}")
set(CPACK_SETUP_REMOVABLE "${SETUP_PACKAGE_REMOVABLE}")
if(DEFINED SETUP_PACKAGE_BACKGROUND)
    set(CPACK_SETUP_BACKGROUND "${SETUP_PACKAGE_BACKGROUND}")
else()
    set(CPACK_SETUP_BACKGROUND ON)
endif()
set(CPACK_SETUP_LINKS "")
if(NOT DEFINED CPACK_SYSTEM_NAME)
    set(CPACK_SYSTEM_NAME "${SETUP_PACKAGE_ARCH}")
endif()
if(NOT DEFINED CPACK_GENERATOR)
    set(CPACK_GENERATOR External)
endif()
# Values reach cpack as written, backslashes of Windows paths too.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_EXTERNAL_ENABLE_STAGING ON)
set(CPACK_EXTERNAL_REQUESTED_VERSIONS "1.0")
set(CPACK_EXTERNAL_PACKAGE_SCRIPT "${CMAKE_CURRENT_LIST_DIR}/SetupPackageScript.cmake")
# Every component in an archive of its own, installed below the destination folder.
set(CPACK_COMPONENTS_GROUPING IGNORE)
set(CPACK_PACKAGING_INSTALL_PREFIX "/")

include(CPackComponent)

# setup_package_link(COMPONENT component NAME name FILE file): a Start-menu link named name to
# file (below the destination, "\" between folders), made when component is installed.
function(setup_package_link)
    cmake_parse_arguments(PARSE_ARGV 0 link "" "COMPONENT;NAME;FILE" "")
    if(NOT link_COMPONENT OR NOT link_NAME OR NOT link_FILE OR link_UNPARSED_ARGUMENTS)
        message(FATAL_ERROR "setup_package_link(COMPONENT component NAME name FILE file)")
    endif()
    foreach(value IN ITEMS "${link_COMPONENT}" "${link_NAME}" "${link_FILE}")
        if(value MATCHES "[|;]")
            message(FATAL_ERROR "setup_package_link: \"|\" and \";\" cannot be part of '${value}'")
        endif()
    endforeach()
    set_property(GLOBAL APPEND PROPERTY SETUP_PACKAGE_LINKS "${link_COMPONENT}|${link_NAME}|${link_FILE}")
endfunction()

# CPack writes its configuration when included, so it is included once the top-level
# CMakeLists.txt has been read in full, with every component and link declared.
function(_setup_package_finish)
    get_property(links GLOBAL PROPERTY SETUP_PACKAGE_LINKS)
    set(CPACK_SETUP_LINKS "${links}")
    include(CPack)
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _setup_package_finish)
