# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, for std::thread and friends); CTest runs the programs through Wine.
# The model alone is linked statically, so it runs without the compiler's DLLs:
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTAVIN_MODEL_ONLY=ON
# The whole program links Qt built for Windows (scripts/windows/build-qt.sh)
# and the compiler's DLLs, which are copied beside the programs:
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_PREFIX_PATH=QT
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(tavin_mingw x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${tavin_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${tavin_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${tavin_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${tavin_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
if(TAVIN_MODEL_ONLY)
    set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
else()
    # Qt's build tools (moc, rcc, uic) are the host's.
    set(QT_HOST_PATH /usr CACHE PATH "Qt for the build machine")
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Qt's CMake files for the build machine")
endif()
find_program(TAVIN_WINE NAMES wine wine64)
if(TAVIN_WINE)
    # Through a script that hands the tests' QT_* settings on to Wine.
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
endif()
