# The Debian package: `cmake --build BUILD --target package` makes
# tavin_<version>_amd64.deb with the three programs, the desktop entry, the
# MIME type and icons (installed by src/app), a manual page for each program
# and the udev rule for programming cables. Runtime dependencies of the
# binaries are found by dpkg-shlibdeps; the ones no binary names are listed.

include(GNUInstallDirs)

# Manual pages, made from the README's sections at build time: the reference
# is written once, in the README. Each begins with the README's opening as
# its DESCRIPTION.
find_package(Python3 COMPONENTS Interpreter)
find_program(TAVIN_GZIP gzip)
if(Python3_Interpreter_FOUND)
    set(tavin_man_script ${PROJECT_SOURCE_DIR}/packaging/man/readme2man.py)
    set(tavin_man_pages)

    # tavin_man_page(NAME SUMMARY TEXT SYNOPSIS lines... SECTIONS headings... SEE_ALSO pages...)
    function(tavin_man_page name)
        cmake_parse_arguments(ARG "" "SUMMARY" "SYNOPSIS;SECTIONS;SEE_ALSO" ${ARGN})
        set(page ${CMAKE_CURRENT_BINARY_DIR}/man/${name}.1)
        set(args --name ${name} --summary ${ARG_SUMMARY} --version ${PROJECT_VERSION} --description)
        foreach(s IN LISTS ARG_SYNOPSIS)
            list(APPEND args --synopsis ${s})
        endforeach()
        foreach(s IN LISTS ARG_SECTIONS)
            list(APPEND args --section ${s})
        endforeach()
        foreach(s IN LISTS ARG_SEE_ALSO)
            list(APPEND args --see-also ${s})
        endforeach()
        set(commands COMMAND ${Python3_EXECUTABLE} ${tavin_man_script} ${PROJECT_SOURCE_DIR}/README.md ${page} ${args})
        set(installed ${page})
        if(TAVIN_GZIP)
            # Debian's manual pages are compressed, without a time stamp.
            list(APPEND commands COMMAND ${TAVIN_GZIP} -9nf ${page})
            set(installed ${page}.gz)
        endif()
        add_custom_command(OUTPUT ${installed} ${commands}
            DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${tavin_man_script}
            COMMENT "Manual page ${name}(1) from the README" VERBATIM)
        install(FILES ${installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
        set(tavin_man_pages ${tavin_man_pages} ${installed} PARENT_SCOPE)
    endfunction()

    # Each page carries every README section that concerns its program.
    tavin_man_page(tavin
        SUMMARY "desktop programming tool for 16-channel handheld radios"
        SYNOPSIS "`tavin` [`--lang` *zh*|*en*] [*FILE*.sin]" "`tavin --print` *FILE*.sin"
                 "`tavin --print-to` *PRINTER* *FILE*.sin" "`tavin --screenshot` *OUT*.png [*FILE*.sin]"
        SECTIONS "The desktop program" "Channel lists" "Troubleshooting the cable" "Trying it without a radio"
                 "Printing" "Files, file names and messages"
        SEE_ALSO tavin-cli tavin-sim)
    tavin_man_page(tavin-cli
        SUMMARY "programming tool for 16-channel handheld radios, without a window"
        SYNOPSIS "`tavin-cli` *verb* [*options*] [*arguments*]"
        SECTIONS "Command-line reference" "Radio verbs in detail" "Channel lists" "Troubleshooting the cable"
                 "Trying it without a radio" "Programming a fleet" "Printing" "Files, file names and messages"
        SEE_ALSO tavin tavin-sim)
    tavin_man_page(tavin-sim
        SUMMARY "a virtual 16-channel handheld radio on a pseudo-terminal"
        SYNOPSIS "`tavin-sim` [*options*]"
        SECTIONS "Trying it without a radio" "The virtual radio" "Programming a fleet" "Files, file names and messages"
        SEE_ALSO tavin tavin-cli)
    add_custom_target(tavin-man ALL DEPENDS ${tavin_man_pages})
else()
    message(STATUS "python3 not found: no manual pages (the package needs them)")
endif()

# Cable access for the user at the desktop, and ModemManager kept off the port.
install(FILES ${PROJECT_SOURCE_DIR}/packaging/udev/70-tavin-cable.rules
        DESTINATION lib/udev/rules.d)

# The copyright statement and the changelog every Debian package carries (a
# package without a Debian revision is native: its changelog is changelog.gz).
set(tavin_doc_dir ${CMAKE_INSTALL_DATAROOTDIR}/doc/tavin)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/deb/copyright DESTINATION ${tavin_doc_dir})
if(TAVIN_GZIP)
    set(tavin_changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
    add_custom_command(OUTPUT ${tavin_changelog}
        COMMAND ${TAVIN_GZIP} -9nc ${PROJECT_SOURCE_DIR}/packaging/deb/changelog > ${tavin_changelog}
        DEPENDS ${PROJECT_SOURCE_DIR}/packaging/deb/changelog
        COMMENT "Package changelog")
    add_custom_target(tavin-changelog ALL DEPENDS ${tavin_changelog})
    install(FILES ${tavin_changelog} DESTINATION ${tavin_doc_dir})
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavin)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tavin")
set(TAVIN_PACKAGE_MAINTAINER "Tavin developers <tavin@example.org>" CACHE STRING
    "The package's maintainer, as in its changelog")
set(CPACK_PACKAGE_CONTACT "${TAVIN_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "programming tool for 16-channel handheld two-way radios")
set(CPACK_PACKAGE_DESCRIPTION
    "Reads the 1024-byte memory of a 16-channel handheld radio over a serial\n"
    "programming cable, edits its channels and settings, writes it back, keeps\n"
    "*.sin channel files and prints a one-page summary. Contains the desktop\n"
    "program tavin, the command-line tool tavin-cli (with a cable doctor) and\n"
    "the virtual radio tavin-sim.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Stripped as dh_strip does it, once CPack has staged the files.
set(CPACK_STRIP_FILES OFF)
set(CPACK_TAVIN_STRIP ${CMAKE_STRIP})
set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/deb/strip.cmake)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not named by any binary: a font with Chinese glyphs for the interface, Qt's
# translations for its own dialogs, Times New Roman's metric twin for the page.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "fonts-wqy-microhei | fonts-noto-cjk | fonts-arphic-uming, qt6-translations-l10n, fonts-liberation")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# postinst applies the cable rule to a cable already plugged in. No postrm:
# udev notices a removed rule file by itself, and without one dpkg keeps no
# trace of the package after a plain remove.
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PROJECT_SOURCE_DIR}/packaging/deb/postinst)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
include(CPack)
