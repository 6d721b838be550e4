# Runs a program and checks its exit status and output (stdout and stderr together).
#
#   cmake -P expect_output.cmake -- <exit status> [EXPECT <pattern>...] [REJECT <pattern>...] [STDOUT <file>]
#                                   RUN <program> [<arg>...]
#
# Each EXPECT pattern must match one whole line of the output, each REJECT pattern none. With STDOUT, standard
# output goes to that file (such as /dev/full) and only standard error is checked. Patterns are CMake
# regular expressions. CTest's PASS_REGULAR_EXPRESSION ignores the exit status, hence this driver.

set(expected_status "")
set(expect "")
set(reject "")
set(command "")
set(stdout_file "")
set(mode "")
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
    set(arg "${CMAKE_ARGV${i}}")
    if(mode STREQUAL "RUN")
        list(APPEND command "${arg}")
    elseif(arg STREQUAL "--")
        set(mode "STATUS")
    elseif(mode STREQUAL "STATUS")
        set(expected_status "${arg}")
        set(mode "PATTERNS")
    elseif(mode STREQUAL "" )
        # cmake's own arguments before "--"
    elseif(arg STREQUAL "EXPECT" OR arg STREQUAL "REJECT" OR arg STREQUAL "STDOUT" OR arg STREQUAL "RUN")
        set(mode "${arg}")
    elseif(mode STREQUAL "STDOUT")
        set(stdout_file "${arg}")
    elseif(mode STREQUAL "EXPECT")
        list(APPEND expect "${arg}")
    elseif(mode STREQUAL "REJECT")
        list(APPEND reject "${arg}")
    else()
        message(FATAL_ERROR "unexpected argument '${arg}'")
    endif()
endforeach()
if(expected_status STREQUAL "" OR NOT command)
    message(FATAL_ERROR "usage: cmake -P expect_output.cmake -- <status> [EXPECT ...] [REJECT ...] RUN <program> ...")
endif()

if(stdout_file)
    execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_FILE "${stdout_file}" ERROR_VARIABLE output)
else()
    execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
endif()
# Framed by newlines, so that a pattern anchored by newlines matches whole lines only.
set(text "\n${output}\n")

set(failures "")
if(NOT status STREQUAL expected_status)
    string(APPEND failures "exit status ${status}, expected ${expected_status}\n")
endif()
foreach(pattern IN LISTS expect)
    if(NOT text MATCHES "\n(${pattern})\n")
        string(APPEND failures "no line matches: ${pattern}\n")
    endif()
endforeach()
foreach(pattern IN LISTS reject)
    if(text MATCHES "\n(${pattern})\n")
        string(APPEND failures "a line matches: ${pattern}\n")
    endif()
endforeach()

if(failures)
    list(JOIN command " " shown)
    message(FATAL_ERROR "${shown}\n${failures}--- output ---\n${output}")
endif()
