# Settings every target of the project shares, applied per target.

function(tavin_target_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
    if(WIN32)
        # windows.h without its min and max macros, and with the wide API.
        target_compile_definitions(${target} PRIVATE NOMINMAX WIN32_LEAN_AND_MEAN UNICODE _UNICODE)
    endif()
    if(TAVIN_SANITIZE AND NOT MSVC)
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# add_unit_test(NAME SOURCES... LIBS ...): one QtTest executable registered with CTest.
# Widget tests run on the offscreen platform; every test runs in the C locale's
# opposite (a decimal-comma locale is set by the tests that need it).
function(add_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tavin_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    add_test(NAME ${name} COMMAND ${name})
    set(environment "QT_QPA_PLATFORM=offscreen;TAVIN_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data")
    if(WIN32 AND DEFINED tavin_test_fonts)
        # Qt's offscreen platform on Windows takes its fonts from one folder.
        list(APPEND environment "QT_QPA_FONTDIR=${tavin_test_fonts}")
    endif()
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 600)
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()

# tavin_not_on_windows(NAME REASON): a test program that cannot apply on
# Windows is not built there, and CTest lists it as skipped with its reason.
function(tavin_not_on_windows name reason)
    if(WIN32)
        add_test(NAME ${name} COMMAND ${CMAKE_COMMAND} -E echo "skipped on Windows: ${reason}")
        set_tests_properties(${name} PROPERTIES SKIP_REGULAR_EXPRESSION "skipped on Windows")
    endif()
endfunction()
