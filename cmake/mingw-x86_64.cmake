# The 64-bit twin of the product and its tests, which run under 64-bit Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
# GoogleTest needs std::mutex, which this GCC offers only with the posix thread model;
# everything is linked statically, so the tests need no winpthread DLL either.
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
