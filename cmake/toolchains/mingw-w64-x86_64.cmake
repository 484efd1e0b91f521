# Cross build for 64-bit Windows with Debian's mingw-w64 (posix threads, so
# the C++ standard thread library is complete). The tests run under wine.
#
#   cmake -S . -B build-mingw -G Ninja \
#     -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
#     -DKESTROVA_BUILD_GUI=OFF -DKESTROVA_GTEST_SOURCE_DIR=/usr/src/googletest

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(KESTROVA_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${KESTROVA_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KESTROVA_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${KESTROVA_MINGW_TRIPLE}-windres)

# Headers, libraries and packages only from the target's sysroot; build
# tools from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${KESTROVA_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Fully static executables: wine (or a bare Windows) then needs none of
# mingw's runtime DLLs next to them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# The executables run through wine; tests are listed when they run, so the
# build itself needs no wine prefix.
find_program(KESTROVA_WINE NAMES wine64 wine)
if(KESTROVA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${KESTROVA_WINE})
endif()
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
