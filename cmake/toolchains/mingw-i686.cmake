# Cross build for 32-bit Windows with Debian's mingw-w64.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(triple i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# Doubles in SSE2 registers, as in the 64-bit builds: the x87 unit's 80-bit
# intermediates would round a figure differently from the Linux build now and
# then. Every processor Windows still runs on has SSE2.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
