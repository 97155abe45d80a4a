# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (posix threads, for std::thread) and
# runs the Windows test programs through Wine.
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/x86_64-w64-mingw32.cmake
#         [-DVELTRANE_WINDOWS_DEPS_DIR=<prefix of the static libpng/libjpeg>]
#         [-DVELTRANE_WINE_PREFIX=<Wine prefix, default: wine-prefix in the build folder>]
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)

set(VELTRANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VELTRANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELTRANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VELTRANE_MINGW_TRIPLE}-windres)
set(CMAKE_AR /usr/bin/${VELTRANE_MINGW_TRIPLE}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB /usr/bin/${VELTRANE_MINGW_TRIPLE}-ranlib CACHE FILEPATH "")

# Libraries and headers come from the MinGW sysroot and the folder of the static libraries built
# for it; programs (Debian's native juceaide among them) come from the build machine.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELTRANE_WINDOWS_DEPS_DIR VELTRANE_WINE_PREFIX)
set(CMAKE_FIND_ROOT_PATH /usr/${VELTRANE_MINGW_TRIPLE})
if(VELTRANE_WINDOWS_DEPS_DIR)
    list(APPEND CMAKE_FIND_ROOT_PATH "${VELTRANE_WINDOWS_DEPS_DIR}")
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The runtime libraries of GCC and the posix-thread library are linked in, so that the binaries
# need nothing beside Windows' own DLLs.
set(VELTRANE_MINGW_STATIC_FLAGS "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${VELTRANE_MINGW_STATIC_FLAGS}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${VELTRANE_MINGW_STATIC_FLAGS}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${VELTRANE_MINGW_STATIC_FLAGS}")

# ctest and gtest_discover_tests run the test programs through Wine, in a prefix of the build
# folder's own. Wine must not try to download Mono or Gecko, and its debug chatter stays off.
if(NOT VELTRANE_WINE_PREFIX)
    set(VELTRANE_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix")
endif()
set(CMAKE_CROSSCOMPILING_EMULATOR
    env "WINEPREFIX=${VELTRANE_WINE_PREFIX}" WINEARCH=win64 WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=" wine)
