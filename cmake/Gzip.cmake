# pelorin_gzip(IN OUT): a build rule that compresses IN to OUT the way Debian wants its
# documentation and manual pages: best compression, no name or time stamp inside.
function(pelorin_gzip in out)
    get_filename_component(dir ${out} DIRECTORY)
    add_custom_command(OUTPUT ${out}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND sh -c "gzip -n -9 -c \"$1\" > \"$2\"" sh ${in} ${out}
        DEPENDS ${in}
        VERBATIM)
endfunction()
