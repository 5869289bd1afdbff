# Asks a built Qt Test program for its test functions and writes a ctest entry for each, run
# offscreen, so that a failing function names itself.
# Usage: cmake -DPROGRAM=path -DNAME=name -DOUT=file -P qtest_functions.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${PROGRAM} -functions
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} -functions failed: ${status}\n${errors}")
endif()
string(REGEX MATCHALL "[A-Za-z_][A-Za-z0-9_]*\\(\\)" functions "${listing}")
set(entries "")
foreach(function IN LISTS functions)
    string(REPLACE "()" "" function "${function}")
    string(APPEND entries "add_test([=[${NAME}.${function}]=] [=[${PROGRAM}]=] ${function})\n"
           "set_tests_properties([=[${NAME}.${function}]=] PROPERTIES "
           "ENVIRONMENT QT_QPA_PLATFORM=offscreen)\n")
endforeach()
if(entries STREQUAL "")
    message(FATAL_ERROR "${PROGRAM} lists no test functions")
endif()
file(WRITE ${OUT} "${entries}")
