# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a test name of the build folder BUILD_DIR is longer than 70 characters. ctest pads every
# line of its output to the longest name, and a line of scripts/test.sh should fit 100 columns.
#     cmake -DBUILD_DIR=build -P tests/CheckTestNames.cmake
execute_process(COMMAND ${CMAKE_CTEST_COMMAND} -N --test-dir ${BUILD_DIR}
                OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "ctest -N failed: ${status}")
endif()
string(REGEX MATCHALL "Test +#[0-9]+: [^\n]+" entries "${listing}")
list(LENGTH entries count)
if(count EQUAL 0)
    message(FATAL_ERROR "no tests listed in ${BUILD_DIR}")
endif()
set(long "")
foreach(entry IN LISTS entries)
    string(REGEX REPLACE "^Test +#[0-9]+: " "" name "${entry}")
    string(LENGTH "${name}" length)
    if(length GREATER 70)
        string(APPEND long "  ${name} (${length})\n")
    endif()
endforeach()
if(long)
    message(FATAL_ERROR "test names longer than 70 characters:\n${long}")
endif()
message(STATUS "${count} test names, none longer than 70 characters")
