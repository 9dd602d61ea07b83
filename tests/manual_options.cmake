# Checks that a program's --help, its manual page and (where given) its bash completion name
# the same options, so that none of them drifts from the others.
# Usage: cmake -DPROGRAM=path -DMANUAL=page.1 [-DCOMPLETION=file] -P manual_options.cmake

# The options of --help: the short and long names that begin its lines (indented by two to
# six blanks; the descriptions stand further right).
execute_process(COMMAND "${PROGRAM}" --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help ended with status ${status}")
endif()
string(REGEX MATCHALL "\n  ( ? ? ? ?--[a-z][-a-z]*|-[a-zA-Z], --[a-z][-a-z]*)" entries "${help}")
set(from_help)
foreach(entry IN LISTS entries)
    string(REGEX MATCHALL "--?[a-zA-Z][-a-z]*" names "${entry}")
    list(APPEND from_help ${names})
endforeach()

# The options of the manual: the names in the first line of each .TP entry of OPTIONS.
file(READ "${MANUAL}" manual)
string(REGEX REPLACE ".*\n\\.SH OPTIONS\n" "" options "${manual}")
string(REGEX REPLACE "\n\\.SH .*" "" options "${options}")
string(REGEX MATCHALL "\\.TP\n[^\n]*" entries "${options}")
set(from_manual)
foreach(entry IN LISTS entries)
    string(REPLACE "\\-" "-" entry "${entry}")
    string(REGEX MATCHALL "(^|[ \"])--?[a-zA-Z][-a-z]*" names "${entry}")
    foreach(name IN LISTS names)
        string(REGEX REPLACE "^[ \"]" "" name "${name}")
        list(APPEND from_manual ${name})
    endforeach()
endforeach()

function(compare what expected actual)
    list(SORT expected)
    list(SORT actual)
    if(NOT expected STREQUAL actual)
        message(SEND_ERROR "${what} differs from --help:\n  --help: ${expected}\n  ${what}: ${actual}")
    endif()
endfunction()

if(NOT from_help)
    message(FATAL_ERROR "no options found in ${PROGRAM} --help")
endif()
compare("${MANUAL}" "${from_help}" "${from_manual}")

if(COMPLETION)
    file(READ "${COMPLETION}" completion)
    string(REGEX MATCH "options=\"[^\"]*\"" words "${completion}")
    string(REGEX MATCHALL "--?[a-zA-Z][-a-z]*" from_completion "${words}")
    compare("${COMPLETION}" "${from_help}" "${from_completion}")
endif()
