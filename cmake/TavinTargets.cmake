# Settings every target of the project shares, applied per target.

# The distribution's hardening flags, as its own packages are built with them
# (Debian's dpkg-buildflags with every hardening feature: fortified string and
# memory functions, stack protector, read-only relocations bound at start;
# its compiler makes position-independent executables by default). The build
# type keeps deciding optimisation and debug information. Only for optimised
# native builds: fortify needs optimisation, and the sanitizers, the fuzzer
# and a cross build bring their own.
set(TAVIN_HARDENING_COMPILE_FLAGS "")
set(TAVIN_HARDENING_LINK_FLAGS "")
if(TAVIN_HARDENING AND CMAKE_BUILD_TYPE AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug"
   AND NOT TAVIN_SANITIZE AND NOT TAVIN_FUZZ AND NOT CMAKE_CROSSCOMPILING AND NOT MSVC)
    find_program(TAVIN_DPKG_BUILDFLAGS dpkg-buildflags)
    if(TAVIN_DPKG_BUILDFLAGS)
        foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
            execute_process(
                COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
                        ${TAVIN_DPKG_BUILDFLAGS} --get ${kind}
                OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
            separate_arguments(flags UNIX_COMMAND "${flags}")
            list(FILTER flags EXCLUDE REGEX "^-[gO]|^-f(file|debug|macro)-prefix-map=")
            if(kind STREQUAL "LDFLAGS")
                list(APPEND TAVIN_HARDENING_LINK_FLAGS ${flags})
            else()
                list(APPEND TAVIN_HARDENING_COMPILE_FLAGS ${flags})
            endif()
        endforeach()
        message(STATUS "Hardening: ${TAVIN_HARDENING_COMPILE_FLAGS} ${TAVIN_HARDENING_LINK_FLAGS}")
    endif()
endif()

function(tavin_target_defaults target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4 /utf-8)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra)
    endif()
    target_compile_definitions(${target} PRIVATE
        QT_NO_CONTEXTLESS_CONNECT QT_NO_KEYWORDS)
    target_compile_options(${target} PRIVATE ${TAVIN_HARDENING_COMPILE_FLAGS})
    target_link_options(${target} PRIVATE ${TAVIN_HARDENING_LINK_FLAGS})
    if(TAVIN_SANITIZE AND NOT MSVC)
        target_compile_options(${target} PRIVATE
            -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
        target_link_options(${target} PRIVATE -fsanitize=address,undefined)
    endif()
endfunction()

# add_unit_test(NAME SOURCES... LIBS ...): one QtTest executable registered with CTest.
# Widget tests run on the offscreen platform; every test runs in the C locale's
# opposite (a decimal-comma locale is set by the tests that need it), and with
# settings and data of its own (tests/common/OwnSettings.cpp).
function(add_unit_test name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    tavin_target_defaults(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} tavin_test_settings)
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests/common)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
        ENVIRONMENT "QT_QPA_PLATFORM=offscreen;TAVIN_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data"
        TIMEOUT 600)
    if(ARG_LABELS)
        set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
