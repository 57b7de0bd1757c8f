# The release zip of the product: the program, the README, the licence and their SHA-256
# sums, made by `cpack --preset windows` from the windows build.
if(NOT WIN32)
  return()
endif()

install(TARGETS brinemark RUNTIME DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION .)
# Runs after the files above are staged, so it sums exactly what the zip holds.
install(CODE "set(BRINEMARK_SUMMED_FILES brinemark.exe README.md LICENSE)")
install(SCRIPT ${CMAKE_SOURCE_DIR}/cmake/sha256sums.cmake)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME brinemark)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win32)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/release)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
include(CPack)
