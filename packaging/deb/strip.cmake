# Run by CPack once the package's files are in its staging folder: strips the
# programs as Debian's dh_strip does, also of the .comment and .note sections
# that only say which compiler made them.
file(GLOB tavin_programs "${CPACK_TEMPORARY_INSTALL_DIRECTORY}/usr/bin/*")
foreach(program IN LISTS tavin_programs)
    execute_process(
        COMMAND "${CPACK_TAVIN_STRIP}" --remove-section=.comment --remove-section=.note --strip-unneeded "${program}"
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot strip ${program}")
    endif()
endforeach()
