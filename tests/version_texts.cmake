# Checks that every version text says VERSION, the version of the top-level CMakeLists.txt:
# each of PROGRAMS prints "<name> VERSION" for --version, and each of FILES (configured from
# it) holds VERSION as a whole version number. Lists are separated by "|".
# Usage: cmake -DVERSION=x.y.z -DPROGRAMS="a|b" -DFILES="f|g" -P version_texts.cmake
string(REPLACE "|" ";" programs "${PROGRAMS}")
string(REPLACE "|" ";" files "${FILES}")
string(REPLACE "." "\\." version_pattern "${VERSION}")

foreach(program IN LISTS programs)
    execute_process(COMMAND "${program}" --version
        OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
    get_filename_component(name "${program}" NAME)
    if(NOT status EQUAL 0 OR NOT output STREQUAL "${name} ${VERSION}\n")
        message(SEND_ERROR "${name} --version: status ${status}, printed '${output}${errors}', "
            "not '${name} ${VERSION}'")
    endif()
endforeach()

foreach(file IN LISTS files)
    file(READ "${file}" text)
    if(NOT text MATCHES "[^0-9.]${version_pattern}[^0-9.]")
        message(SEND_ERROR "${file} does not carry the version ${VERSION}")
    endif()
endforeach()
