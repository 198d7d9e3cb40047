# Fails when a source under SOURCE_ROOT includes a folder on a higher floor than its own, or
# lives in (or includes) a folder that has no floor. The floors are the rows of the table in
# FLOORS_FILE whose first cell is a number and whose second names a folder: "| 3 | `ui/` |".
# Run with -DSOURCE_ROOT=<src> -DFLOORS_FILE=<docs/ARCHITECTURE.md>.
cmake_minimum_required(VERSION 3.22)

file(STRINGS "${FLOORS_FILE}" rows REGEX "^\\|[ \t]*[0-9]+[ \t]*\\|[ \t]*`[a-z_/]+/`")
set(folders "")
foreach(row IN LISTS rows)
    string(REGEX MATCH "^\\|[ \t]*([0-9]+)[ \t]*\\|[ \t]*`([a-z_/]+)/`" _ "${row}")
    list(APPEND folders "${CMAKE_MATCH_2}")
    set(floor_of_${CMAKE_MATCH_2} ${CMAKE_MATCH_1})
endforeach()
if(NOT folders)
    message(FATAL_ERROR "No floors found in ${FLOORS_FILE}")
endif()

# The floor folder a path inside the source tree belongs to: the longest one it starts with,
# so that store/db/x.h is on the floor of store/db and store/x.h on the floor of store.
function(folder_of path result)
    set(best "")
    foreach(folder IN LISTS folders)
        string(LENGTH "${folder}" length)
        string(LENGTH "${best}" best_length)
        if(path MATCHES "^${folder}/" AND length GREATER best_length)
            set(best "${folder}")
        endif()
    endforeach()
    set(${result} "${best}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_ROOT}" "${SOURCE_ROOT}/*.h" "${SOURCE_ROOT}/*.cpp")
set(offenders "")
foreach(source IN LISTS sources)
    folder_of("${source}" own)
    if(own STREQUAL "")
        list(APPEND offenders "${source}: its folder has no floor")
        continue()
    endif()
    file(STRINGS "${SOURCE_ROOT}/${source}" includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    foreach(line IN LISTS includes)
        string(REGEX MATCH "\"([^\"]+)\"" _ "${line}")
        set(included "${CMAKE_MATCH_1}")
        folder_of("${included}" target)
        if(target STREQUAL "")
            list(APPEND offenders "${source}: \"${included}\" is on no floor")
        elseif(floor_of_${target} GREATER floor_of_${own})
            list(APPEND offenders
                 "${source} (${own}, floor ${floor_of_${own}}) includes \"${included}\" (${target}, floor ${floor_of_${target}})")
        endif()
    endforeach()
endforeach()

list(LENGTH sources checked)
if(offenders)
    string(REPLACE ";" "\n  " listing "${offenders}")
    message(FATAL_ERROR "Includes that point up:\n  ${listing}")
endif()
message(STATUS "${checked} sources include only their own floor and the floors below")
