# The product: 32-bit Windows, built with MinGW-w64 using the win32 thread model,
# so the static runtime needs no winpthread DLL.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(MINGW_TRIPLE i686-w64-mingw32)
if(NOT DEFINED MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
