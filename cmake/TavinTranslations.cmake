# The program's translations. translations/tavin_<lang>.ts hold the texts of
# the sources (Chinese) with their translations. At every build the sources'
# texts are gathered again with lupdate into a copy of each file, the build
# fails when a text has no finished translation there, and lrelease compiles
# the copy into the program's resources. The target tavin_update_translations
# brings the files in translations/ up to date with the sources (new texts
# come in unfinished, gone ones go), ready to be translated.
#
# lupdate and lrelease come from Debian's qt6-l10n-tools.

set(TAVIN_TRANSLATION_LANGUAGES en)

# The words of the radio data are marked in the model, which has no Qt, with
# TAVIN_SHOWN(context, text): lupdate reads it as QT_TRANSLATE_NOOP.
set(TAVIN_LUPDATE_OPTIONS -silent -locations none -no-obsolete
    -tr-function-alias QT_TRANSLATE_NOOP+=TAVIN_SHOWN
    -source-language zh_CN)

function(tavin_find_linguist_tool variable name)
    find_program(${variable} NAMES ${name} ${name}-qt6
        HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}" /usr/lib/qt6/bin)
    if(NOT ${variable})
        message(FATAL_ERROR "${name} is missing: it comes with Debian's qt6-l10n-tools "
                            "(scripts/ensure-deps.sh installs it)")
    endif()
endfunction()

# Compiles the checked translations into target's resources under
# :/translations/tavin_<lang>.qm.
function(tavin_add_translations target)
    tavin_find_linguist_tool(TAVIN_LUPDATE lupdate)
    tavin_find_linguist_tool(TAVIN_LRELEASE lrelease)
    set(source_dir "${PROJECT_SOURCE_DIR}/src")
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${source_dir}/*.cpp" "${source_dir}/*.h")

    set(compiled)
    set(ts_files)
    foreach(lang IN LISTS TAVIN_TRANSLATION_LANGUAGES)
        set(ts "${PROJECT_SOURCE_DIR}/translations/tavin_${lang}.ts")
        set(qm "${CMAKE_CURRENT_BINARY_DIR}/tavin_${lang}.qm")
        add_custom_command(OUTPUT "${qm}"
            COMMAND ${CMAKE_COMMAND}
                "-DLUPDATE=${TAVIN_LUPDATE}" "-DLRELEASE=${TAVIN_LRELEASE}"
                "-DLUPDATE_OPTIONS=${TAVIN_LUPDATE_OPTIONS}" "-DSOURCES=${source_dir}"
                "-DTS=${ts}" "-DWORK=${CMAKE_CURRENT_BINARY_DIR}/tavin_${lang}.ts" "-DQM=${qm}"
                -P "${PROJECT_SOURCE_DIR}/cmake/CheckTranslations.cmake"
            DEPENDS "${ts}" ${sources} "${PROJECT_SOURCE_DIR}/cmake/CheckTranslations.cmake"
            COMMENT "Checking and compiling translations/tavin_${lang}.ts"
            VERBATIM)
        list(APPEND compiled "${qm}")
        list(APPEND ts_files "${ts}")
    endforeach()
    qt_add_resources(${target} tavin_translations
        PREFIX /translations
        BASE "${CMAKE_CURRENT_BINARY_DIR}"
        FILES ${compiled})

    add_custom_target(tavin_update_translations
        COMMAND "${TAVIN_LUPDATE}" ${TAVIN_LUPDATE_OPTIONS} "${source_dir}" -ts ${ts_files}
        WORKING_DIRECTORY "${PROJECT_SOURCE_DIR}"
        COMMENT "Updating translations/*.ts from the sources"
        VERBATIM)
endfunction()
