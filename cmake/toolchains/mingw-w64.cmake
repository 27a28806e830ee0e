# Cross-build for Windows with Debian's mingw-w64, included by the toolchain file of each
# architecture after it has set QUARNEL_MINGW_TRIPLE.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${QUARNEL_MINGW_PROCESSOR})

# The -posix compilers: their libstdc++ has std::thread and std::mutex, the -win32 ones lack them.
set(CMAKE_C_COMPILER ${QUARNEL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUARNEL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QUARNEL_MINGW_TRIPLE}-windres)

# Programs that need no DLL beside them: the C and C++ runtimes and winpthread linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# Tests and tools built here run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)

# Libraries only from the mingw-w64 sysroot and from the prefix that scripts/windows.sh
# stages for this architecture (GoogleTest built for it, the header-only CLI11 and
# nlohmann-json with configuration files of their own, so that /usr/include stays out).
set(QUARNEL_WINDOWS_DEPS ${CMAKE_CURRENT_LIST_DIR}/../../build/deps/${QUARNEL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH /usr/${QUARNEL_MINGW_TRIPLE} ${QUARNEL_WINDOWS_DEPS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
