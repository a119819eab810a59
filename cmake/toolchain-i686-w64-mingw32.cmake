# Cross-building the Windows programs with Debian's mingw-w64.
#
# The Windows target is 32-bit x86 (i686). The "-posix" compilers are used because their thread model
# has std::mutex, which GoogleTest needs; the runtime is linked statically so that an .exe needs no DLL
# beside it. TARVEX_MINGW_ARCH=x86_64 gives the 64-bit build of the same sources, for hosts that cannot
# run 32-bit programs.
set(TARVEX_MINGW_ARCH "i686" CACHE STRING "mingw-w64 target: i686 (32-bit) or x86_64")
set_property(CACHE TARVEX_MINGW_ARCH PROPERTY STRINGS i686 x86_64)
set(triple ${TARVEX_MINGW_ARCH}-w64-mingw32)

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TARVEX_MINGW_ARCH})

set(CMAKE_C_COMPILER ${triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triple}-g++-posix)
set(CMAKE_RC_COMPILER ${triple}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# GCC 12 reports impossible overlapping copies inside std::string's own code at -O2 on 32-bit targets
# (GCC bug 105329), which would stop a build with warnings as errors.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict")

# Test programs are listed when ctest runs (through CMAKE_CROSSCOMPILING_EMULATOR), not after each link.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
