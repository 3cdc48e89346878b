# Cross-build for 32-bit Windows with MinGW-w64:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -B build-win
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# SSE arithmetic instead of the x87 unit: single- and double-precision
# results are then rounded exactly as on the native build.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
