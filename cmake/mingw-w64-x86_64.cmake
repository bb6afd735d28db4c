# Cross-builds for 64-bit Windows with Debian's MinGW-w64, and runs the
# resulting programs (tests, try_run) through Wine. The win32-thread
# variant: the posix one links winpthreads, which needs Vista's
# GetTickCount64 to start.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static: no libstdc++ or libgcc DLLs to ship beside the programs. The PE
# header names the oldest Windows that runs them: 64-bit XP and Server 2003
# are version 5.2.
set(CMAKE_EXE_LINKER_FLAGS_INIT
    "-static -Wl,--major-subsystem-version,5,--minor-subsystem-version,2,--major-os-version,5,--minor-os-version,2")
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
