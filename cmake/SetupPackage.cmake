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
# <build>/<CPACK_PACKAGE_FILE_NAME>/ (by default "<name>-<version>-win32" or "-win64"); with
# SETUP_PACKAGE_BUNDLE, the one program beside it is <CPACK_PACKAGE_FILE_NAME>.exe.
#
# Settings, each optional, set before the include:
#   SETUP_PACKAGE_CODE_PAGE     the system code page of the users' machines (1252 Western, 1251
#                               Cyrillic, 932 Japanese, ...): setup.tsi, the licence and the
#                               archives' names are written in it; without it only ASCII passes
#   SETUP_PACKAGE_ARCH          win32 or win64: which setup.exe and lumora.dll ship (default: win64
#                               when a program the components install is a 64-bit one, as `tsa new`)
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
# Components are offered in the order the project declares them with cpack_add_component, then
# any others in name order; CPACK_COMPONENTS_ALL, when set, chooses them and their order.
include_guard(GLOBAL)

get_filename_component(_setup_kit_dir "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
if(DEFINED SETUP_PACKAGE_ARCH AND NOT SETUP_PACKAGE_ARCH MATCHES "^win(32|64)$")
    message(FATAL_ERROR "SetupPackage: SETUP_PACKAGE_ARCH is win32 or win64, not '${SETUP_PACKAGE_ARCH}'")
endif()
if(DEFINED SETUP_PACKAGE_CODE_PAGE AND NOT SETUP_PACKAGE_CODE_PAGE MATCHES "^(874|932|936|949|950|125[0-8])$")
    message(FATAL_ERROR "SetupPackage: SETUP_PACKAGE_CODE_PAGE is a Windows code page (874, 932, 936, 949, 950 "
                        "or 1250 to 1258), not '${SETUP_PACKAGE_CODE_PAGE}'")
endif()
# Without an architecture the package script takes it from the programs, once they are staged,
# and the kit's folder of that name.
if(DEFINED SETUP_PACKAGE_PROGRAMS)
    set(_setup_program_folders "${SETUP_PACKAGE_PROGRAMS}")
elseif(DEFINED SETUP_PACKAGE_ARCH)
    set(SETUP_PACKAGE_PROGRAMS "${_setup_kit_dir}/${SETUP_PACKAGE_ARCH}")
    set(_setup_program_folders "${SETUP_PACKAGE_PROGRAMS}")
else()
    set(_setup_program_folders "${_setup_kit_dir}/win32" "${_setup_kit_dir}/win64")
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
foreach(_setup_folder IN LISTS _setup_program_folders)
    foreach(_setup_file IN LISTS _setup_files)
        if(NOT EXISTS "${_setup_folder}/${_setup_file}")
            message(FATAL_ERROR "SetupPackage: no ${_setup_file} in ${_setup_folder} (SETUP_PACKAGE_PROGRAMS)")
        endif()
    endforeach()
endforeach()

# Everything the packaging step needs travels to cpack as CPACK_ variables.
set(CPACK_SETUP_PROGRAMS "${SETUP_PACKAGE_PROGRAMS}")
set(CPACK_SETUP_KIT "${_setup_kit_dir}")
set(CPACK_SETUP_ARCH "${SETUP_PACKAGE_ARCH}")
set(CPACK_SETUP_CODE_PAGE "${SETUP_PACKAGE_CODE_PAGE}")
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
# The package folder is named after the architecture, which may be known only when it is made.
if(NOT DEFINED CPACK_SYSTEM_NAME AND NOT DEFINED CPACK_PACKAGE_FILE_NAME)
    set(CPACK_SETUP_NAMED_BY_ARCH ON)
endif()
if(NOT DEFINED CPACK_SYSTEM_NAME)
    if(DEFINED SETUP_PACKAGE_ARCH)
        set(CPACK_SYSTEM_NAME "${SETUP_PACKAGE_ARCH}")
    else()
        set(CPACK_SYSTEM_NAME win32)
    endif()
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

# The order the project declares its components in is the order the wizard offers them.
macro(cpack_add_component name)
    set_property(GLOBAL APPEND PROPERTY SETUP_PACKAGE_COMPONENTS "${name}")
    _cpack_add_component(${name} ${ARGN})
endmacro()

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
    if(NOT DEFINED CPACK_COMPONENTS_ALL)
        get_property(declared GLOBAL PROPERTY SETUP_PACKAGE_COMPONENTS)
        get_cmake_property(installed COMPONENTS)
        set(CPACK_COMPONENTS_ALL "")
        foreach(component IN LISTS declared installed)
            if(component IN_LIST installed AND NOT component IN_LIST CPACK_COMPONENTS_ALL)
                list(APPEND CPACK_COMPONENTS_ALL "${component}")
            endif()
        endforeach()
    endif()
    include(CPack)
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL _setup_package_finish)
