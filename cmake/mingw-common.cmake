# Shared part of the mingw-w64 toolchain files. KOVA_MINGW_TRIPLET is set by
# the including file. The posix thread model compilers are required: the
# win32 thread model lacks std::thread and GoogleTest does not build with it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER   ${KOVA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${KOVA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER  ${KOVA_MINGW_TRIPLET}-windres)

if(DEFINED ENV{KOVA_DEPS_CACHE})
  set(KOVA_DEPS_CACHE "$ENV{KOVA_DEPS_CACHE}")
else()
  set(KOVA_DEPS_CACHE "$ENV{HOME}/.cache/kova-deps")
endif()

# zlib comes from Debian's mingw package, libjpeg from our own build of
# Debian's libjpeg-turbo source (tools/dev/setup-deps).
set(CMAKE_FIND_ROOT_PATH /usr/${KOVA_MINGW_TRIPLET} ${KOVA_DEPS_CACHE}/libjpeg-turbo/${KOVA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(ZLIB_USE_STATIC_LIBS ON)

# Test executables run under 64-bit Wine on a virtual desktop.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/testenv/wine-run)
