# The product's 32-bit toolchain for its tests, which run under 32-bit Wine. GoogleTest
# needs std::mutex, which this GCC offers only with the posix thread model; everything is
# linked statically, so the tests need no winpthread DLL either.
set(MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake)
