# Makes the starter database with tavro-db when there is none yet.
if(NOT EXISTS "${DATABASE}")
    execute_process(COMMAND "${TOOL}" create "${DATABASE}" RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "Could not make the starter database ${DATABASE}")
    endif()
endif()
