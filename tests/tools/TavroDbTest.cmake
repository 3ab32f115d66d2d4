# tavro-db makes a database with starter triggers, lists it, and refuses to
# overwrite an existing file.
set(database "${WORK}/tavro.mdb")
file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")

execute_process(COMMAND "${TOOL}" create "${database}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "create failed")
endif()

execute_process(COMMAND "${TOOL}" list "${database}" RESULT_VARIABLE result OUTPUT_VARIABLE listing)
foreach(expected "[Launch]  data" "%date%" "SendKey applications (3):" "TextOnly applications (2):")
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

execute_process(COMMAND "${TOOL}" list "${WORK}/missing.mdb" RESULT_VARIABLE result ERROR_VARIABLE error)
if(result EQUAL 0 OR NOT error MATCHES "Could not find file")
    message(FATAL_ERROR "list of a missing file: ${error}")
endif()
file(REMOVE_RECURSE "${WORK}")
