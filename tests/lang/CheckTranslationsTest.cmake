# cmake -DLUPDATE=... -DLRELEASE=... -DPROJECT=<source tree> -DWORK=<folder> -P CheckTranslationsTest.cmake
#
# Runs cmake/CheckTranslations.cmake, as the build does, on a one-file source
# tree and a translation file for each case below, and checks that the build
# would stop (naming the text) or go on (with a compiled catalogue).
cmake_minimum_required(VERSION 3.22)
include("${PROJECT}/cmake/TavinTranslations.cmake")

set(source [=[
#include <QCoreApplication>
#include "ShownWords.h"
inline constexpr const char *kWord = TAVIN_SHOWN("RadioData", "宽带");
QString f() { return QCoreApplication::translate("Form", "打开"); }
]=])
set(finished [=[<message><source>宽带</source><translation>Wide</translation></message>]=])

# Each case: name, whether the check passes, the text its failure names, the
# messages of the file (context Form, then context RadioData).
set(cases
    "all finished|PASS||<message><source>打开</source><translation>Open</translation></message>|${finished}"
    "a text missing from the file|FAIL|打开||${finished}"
    "a translation left unfinished|FAIL|打开|<message><source>打开</source><translation type=\"unfinished\">Open</translation></message>|${finished}"
    "an empty translation|FAIL|打开|<message><source>打开</source><translation></translation></message>|${finished}"
    "a word of the model missing|FAIL|宽带|<message><source>打开</source><translation>Open</translation></message>|"
    "a text gone from the sources does not count|PASS||<message><source>打开</source><translation>Open</translation></message><message><source>关闭</source><translation type=\"unfinished\"></translation></message>|${finished}"
)

set(failures 0)
foreach(case IN LISTS cases)
    string(REPLACE "|" ";" fields "${case}")
    list(GET fields 0 name)
    list(GET fields 1 expected)
    list(GET fields 2 named)
    list(GET fields 3 form)
    list(GET fields 4 data)
    set(dir "${WORK}/${name}")
    file(REMOVE_RECURSE "${dir}")
    file(WRITE "${dir}/src/form.cpp" "${source}")
    file(WRITE "${dir}/tavin_en.ts"
         "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n<TS version=\"2.1\" language=\"en\" sourcelanguage=\"zh_CN\">\n"
         "<context><name>Form</name>${form}</context>\n<context><name>RadioData</name>${data}</context>\n</TS>\n")
    execute_process(
        COMMAND ${CMAKE_COMMAND} "-DLUPDATE=${LUPDATE}" "-DLRELEASE=${LRELEASE}"
                "-DLUPDATE_OPTIONS=${TAVIN_LUPDATE_OPTIONS}" "-DSOURCES=${dir}/src" "-DTS=${dir}/tavin_en.ts"
                "-DWORK=${dir}/checked.ts" "-DQM=${dir}/tavin_en.qm"
                -P "${PROJECT}/cmake/CheckTranslations.cmake"
        RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    if(result EQUAL 0)
        set(outcome PASS)
    else()
        set(outcome FAIL)
    endif()
    if(NOT outcome STREQUAL expected)
        message(SEND_ERROR "${name}: the check gave ${outcome}, expected ${expected}:\n${output}")
        math(EXPR failures "${failures} + 1")
    elseif(outcome STREQUAL "FAIL" AND NOT output MATCHES "${named}")
        message(SEND_ERROR "${name}: the failure does not name \"${named}\":\n${output}")
        math(EXPR failures "${failures} + 1")
    elseif(outcome STREQUAL "PASS" AND NOT EXISTS "${dir}/tavin_en.qm")
        message(SEND_ERROR "${name}: no catalogue was compiled")
        math(EXPR failures "${failures} + 1")
    else()
        message(STATUS "PASS: ${name}")
    endif()
endforeach()
if(failures GREATER 0)
    message(FATAL_ERROR "${failures} case(s) failed")
endif()
