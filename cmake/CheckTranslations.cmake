# cmake -DLUPDATE=... -DLRELEASE=... -DLUPDATE_OPTIONS=... -DSOURCES=<folder>
#       -DTS=<translations/tavin_xx.ts> -DWORK=<copy> -DQM=<out.qm> -P CheckTranslations.cmake
#
# Gathers the texts of the sources into a copy of TS, fails when one of them
# has no finished translation (naming every such text), and compiles the copy
# into QM. TS itself is never changed.

cmake_minimum_required(VERSION 3.22)

foreach(var LUPDATE LRELEASE SOURCES TS WORK QM)
    if(NOT DEFINED ${var})
        message(FATAL_ERROR "CheckTranslations.cmake: ${var} is not set")
    endif()
endforeach()

configure_file("${TS}" "${WORK}" COPYONLY)
execute_process(COMMAND "${LUPDATE}" ${LUPDATE_OPTIONS} "${SOURCES}" -ts "${WORK}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lupdate failed:\n${output}")
endif()

# Each <message> of the copy: a finished one has a translation that is not
# empty and not marked unfinished.
file(READ "${WORK}" content)
set(missing "")
set(count 0)
while(TRUE)
    string(FIND "${content}" "<message" start)
    if(start EQUAL -1)
        break()
    endif()
    string(SUBSTRING "${content}" ${start} -1 content)
    string(FIND "${content}" "</message>" end)
    if(end EQUAL -1)
        message(FATAL_ERROR "${WORK}: a <message> has no end")
    endif()
    string(SUBSTRING "${content}" 0 ${end} message)
    math(EXPR next "${end} + 10")
    string(SUBSTRING "${content}" ${next} -1 content)

    string(REGEX MATCH "<source>([^<]*)</source>" ignored "${message}")
    set(source "${CMAKE_MATCH_1}")
    if(message MATCHES "type=\"unfinished\"" OR message MATCHES "<translation>[ \t\r\n]*</translation>"
       OR message MATCHES "<translation/>" OR NOT message MATCHES "<translation")
        string(APPEND missing "\n    ${source}")
        math(EXPR count "${count} + 1")
    endif()
endwhile()
if(count GREATER 0)
    get_filename_component(name "${TS}" NAME)
    message(FATAL_ERROR
        "${count} text(s) of the program have no finished translation in ${name}:${missing}\n"
        "Run the build target tavin_update_translations, translate the new texts in "
        "${TS} (remove type=\"unfinished\") and build again.")
endif()

execute_process(COMMAND "${LRELEASE}" -silent "${WORK}" -qm "${QM}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "lrelease failed:\n${output}")
endif()
