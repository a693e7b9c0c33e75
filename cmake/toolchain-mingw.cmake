# Cross-compile the Windows product with mingw-w64 for VOMUREL_MINGW_TRIPLE,
# set by toolchain-mingw32.cmake (i686, the shipped program) or
# toolchain-mingw64.cmake (x86_64). The -posix thread model is needed:
# GoogleTest uses std::mutex, which the -win32 model lacks.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${VOMUREL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VOMUREL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VOMUREL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VOMUREL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests built for Windows run under Wine; the prefix is prepared by scripts/setup.sh.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
# Reproducible programs: no time stamp in the PE header, and no build folder
# in any path the compiler records.
string(APPEND CMAKE_C_FLAGS_INIT " -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=")
string(APPEND CMAKE_CXX_FLAGS_INIT " -ffile-prefix-map=${CMAKE_SOURCE_DIR}/=")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-Wl,--no-insert-timestamp")
