# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the POSIX thread
# model, for std::thread and friends). Programs are linked statically, so they
# run under Wine without the compiler's DLLs; CTest runs them through Wine.
#   cmake -S . -B build-mingw -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DTAVIN_MODEL_ONLY=ON
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
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(TAVIN_WINE NAMES wine wine64)
if(TAVIN_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVIN_WINE})
endif()
