# The shipped program: 32-bit x86, which runs on 32- and 64-bit Windows alike.
# SSE2 arithmetic keeps every real a 64-bit double, rounded exactly as in the
# native and 64-bit builds (x87 registers would round the last digit
# differently). Windows calls back with a stack aligned to 4 bytes only:
# -mstackrealign keeps SSE spills in callbacks aligned.
set(VOMUREL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
