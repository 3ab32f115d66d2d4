# The starter database rule of the build makes a database with tavro-db when
# there is none, and leaves a file that is there alone; tavro-db lists it and
# refuses to overwrite it.
set(database "${WORK}/tavro.mdb")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

function(starter)
    execute_process(COMMAND "${CMAKE_COMMAND}" -DTOOL=${TOOL} -DDATABASE=${database}
                            -P "${STARTER}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "the starter database rule failed")
    endif()
endfunction()

starter()
execute_process(COMMAND "${TOOL}" list "${database}" RESULT_VARIABLE result OUTPUT_VARIABLE listing)
foreach(expected ";sig" "[Launch]  data" "SendKey applications (3):" "TextOnly applications (2):")
    string(FIND "${listing}" "${expected}" found)
    if(NOT result EQUAL 0 OR found EQUAL -1)
        message(FATAL_ERROR "list does not show '${expected}':\n${listing}")
    endif()
endforeach()

file(SIZE "${database}" size_before)
execute_process(COMMAND "${TOOL}" create "${database}" RESULT_VARIABLE result ERROR_VARIABLE error)
file(SIZE "${database}" size_after)
if(result EQUAL 0 OR NOT error MATCHES "exists already" OR NOT size_before EQUAL size_after)
    message(FATAL_ERROR "create overwrote an existing file: ${error}")
endif()

file(WRITE "${database}" "the user's own file")
starter()
file(READ "${database}" content)
if(NOT content STREQUAL "the user's own file")
    message(FATAL_ERROR "the starter database rule replaced an existing database")
endif()

execute_process(COMMAND "${TOOL}" list "${WORK}/missing.mdb" RESULT_VARIABLE result ERROR_VARIABLE error)
if(result EQUAL 0 OR NOT error MATCHES "Could not find file")
    message(FATAL_ERROR "list of a missing file: ${error}")
endif()
file(REMOVE_RECURSE "${WORK}")
