# The 64-bit Windows build (preset windows-x64), kept and tested beside the
# shipped 32-bit one.
set(VOMUREL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
