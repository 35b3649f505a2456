# The Windows build (MinGW-w64 with Qt built for Windows): every program runs
# from build/bin with Qt's DLLs and plugins and MinGW's runtime DLLs beside it,
# as it does from the package, and CTest runs the tests there through Wine.
# The target windows-packages makes tavin-VERSION-win64.zip (the programs with
# everything they need, in one folder) and the installer tavin-VERSION-setup.exe.

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
# The resources are packed by the build machine's rcc, which may compress
# with zstd; Qt for Windows is built without it.
set(CMAKE_AUTORCC_OPTIONS --no-zstd)

# Qt's prefix: Qt6_DIR is <prefix>/lib/cmake/Qt6.
get_filename_component(tavin_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(tavin_qt_dlls Qt6Core Qt6Gui Qt6Widgets Qt6PrintSupport)
set(tavin_qt_plugins platforms/qwindows platforms/qoffscreen styles/qwindowsvistastyle imageformats/qico)

# MinGW's runtime: the C++ library, the unwinder and the POSIX threads.
set(tavin_mingw_dlls)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
        OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
        message(FATAL_ERROR "MinGW's ${dll} not found (${CMAKE_CXX_COMPILER} -print-file-name)")
    endif()
    list(APPEND tavin_mingw_dlls ${found})
endforeach()

set(tavin_runtime_files ${tavin_mingw_dlls})
foreach(dll ${tavin_qt_dlls})
    list(APPEND tavin_runtime_files ${tavin_qt_prefix}/bin/${dll}.dll)
endforeach()

# Into the build's bin folder now (the tests need Qt's test library too) ...
file(MAKE_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(COPY ${tavin_runtime_files} ${tavin_qt_prefix}/bin/Qt6Test.dll DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# ... and into the package, flat: the programs, the DLLs and the plugin folders.
install(FILES ${tavin_runtime_files} DESTINATION .)
foreach(plugin ${tavin_qt_plugins})
    get_filename_component(folder ${plugin} DIRECTORY)
    set(file ${tavin_qt_prefix}/plugins/${plugin}.dll)
    if(EXISTS ${file})
        file(COPY ${file} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder})
        install(FILES ${file} DESTINATION ${folder})
    elseif(plugin MATCHES "^platforms/")
        message(FATAL_ERROR "Qt's plugin ${file} is missing")
    endif()
endforeach()

# Qt's own texts (the buttons of message boxes, the file and print dialogs) in
# the user's language: the catalogues of Debian's qt6-translations-l10n, found
# through qt.conf, which makes the program's folder Qt's prefix. The program
# loads qt_XX.qm, which gathers qtbase_XX.qm and qtmultimedia_XX.qm and loads
# only when both are there.
file(GLOB tavin_qt_catalogues /usr/share/qt6/translations/qt_*.qm /usr/share/qt6/translations/qtbase_*.qm
    /usr/share/qt6/translations/qtmultimedia_*.qm)
list(FILTER tavin_qt_catalogues EXCLUDE REGEX "qt_help_")
if(NOT tavin_qt_catalogues)
    message(WARNING "Qt's translations (qt6-translations-l10n) not found: Qt's own texts stay English")
endif()
file(WRITE ${CMAKE_BINARY_DIR}/qt.conf "[Paths]\nPrefix = .\n")
file(COPY ${CMAKE_BINARY_DIR}/qt.conf DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
file(COPY ${tavin_qt_catalogues} DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/translations)
install(FILES ${CMAKE_BINARY_DIR}/qt.conf DESTINATION .)
install(FILES ${tavin_qt_catalogues} DESTINATION translations)

# Qt's offscreen platform on Windows (the tests' platform) reads its fonts from
# one folder, QT_QPA_FONTDIR: the build machine's Chinese and Latin fonts.
set(tavin_test_fonts ${CMAKE_BINARY_DIR}/fonts)
file(MAKE_DIRECTORY ${tavin_test_fonts})
file(GLOB tavin_font_files
    /usr/share/fonts/truetype/wqy/*.ttc /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
    /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans*.ttf)
foreach(font ${tavin_font_files})
    get_filename_component(name ${font} NAME)
    if(NOT EXISTS ${tavin_test_fonts}/${name})
        file(CREATE_LINK ${font} ${tavin_test_fonts}/${name} SYMBOLIC)
    endif()
endforeach()

set(tavin_win_stage ${CMAKE_BINARY_DIR}/package)
set(tavin_win_name tavin-${PROJECT_VERSION}-win64)
set(tavin_win_zip ${CMAKE_BINARY_DIR}/${tavin_win_name}.zip)
set(tavin_win_setup ${CMAKE_BINARY_DIR}/tavin-${PROJECT_VERSION}-setup.exe)
find_program(TAVIN_MAKENSIS makensis)
set(tavin_nsis_commands)
if(TAVIN_MAKENSIS)
    set(tavin_nsis_commands
        COMMAND ${TAVIN_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSOURCE=${tavin_win_stage}/${tavin_win_name}
                -DICON=${PROJECT_SOURCE_DIR}/src/app/windows/tavin.ico -DOUTFILE=${tavin_win_setup}
                ${PROJECT_SOURCE_DIR}/packaging/windows/tavin.nsi)
else()
    message(STATUS "makensis (Debian's nsis) not found: windows-packages makes the zip only")
endif()
add_custom_target(windows-packages
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${tavin_win_stage}
    COMMAND ${CMAKE_COMMAND} --install ${CMAKE_BINARY_DIR} --prefix ${tavin_win_stage}/${tavin_win_name}
    COMMAND ${CMAKE_COMMAND} -E chdir ${tavin_win_stage}
            ${CMAKE_COMMAND} -E tar cf ${tavin_win_zip} --format=zip ${tavin_win_name}
    ${tavin_nsis_commands}
    DEPENDS tavin tavin-cli
    COMMENT "The Windows zip and installer of Tavin ${PROJECT_VERSION}"
    VERBATIM)
