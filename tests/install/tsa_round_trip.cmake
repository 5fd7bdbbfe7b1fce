# The tool's round trip: every file below SOURCE must come back below COPY under the same name
# with the same bytes, and nothing else may appear there.
# Run with -DSOURCE=<the folder packed> -DCOPY=<the folder extracted into>.
file(GLOB_RECURSE packed RELATIVE "${SOURCE}" "${SOURCE}/*")
file(GLOB_RECURSE extracted RELATIVE "${COPY}" "${COPY}/*")
list(SORT packed)
list(SORT extracted)
if(NOT packed STREQUAL extracted)
    string(REPLACE ";" "\n  " packed_lines "${packed}")
    string(REPLACE ";" "\n  " extracted_lines "${extracted}")
    message(FATAL_ERROR "the extracted tree holds other names\npacked:\n  ${packed_lines}\nextracted:\n  ${extracted_lines}")
endif()
list(LENGTH packed count)
if(count EQUAL 0)
    message(FATAL_ERROR "nothing was packed from ${SOURCE}")
endif()
foreach(name IN LISTS packed)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${SOURCE}/${name}" "${COPY}/${name}"
                    RESULT_VARIABLE different)
    if(different)
        message(FATAL_ERROR "${name} came back with other bytes")
    endif()
endforeach()
message(STATUS "${count} files came back as they were packed")
