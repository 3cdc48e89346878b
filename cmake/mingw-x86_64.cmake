# Cross-build for 64-bit Windows with MinGW-w64:
#   cmake -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -B build-win64
# The shipped programs are the 32-bit build (mingw-i686.cmake); this one
# lets the Windows code be tested under Wine on machines whose kernel runs
# no 32-bit programs.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
