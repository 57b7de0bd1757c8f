# The release zip of the product: the program, the README, the licence and their SHA-256
# sums, made by the target `release_zip` of the windows build, byte for byte the same from
# the same sources (cmake/release-zip.py).
if(NOT WIN32)
  return()
endif()

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(RELEASE_ZIP ${CMAKE_BINARY_DIR}/release/brinemark-${PROJECT_VERSION}-win32.zip)
add_custom_target(release_zip
  COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/cmake/release-zip.py ${RELEASE_ZIP}
    ${CMAKE_SOURCE_DIR} $<TARGET_FILE:brinemark> ${CMAKE_SOURCE_DIR}/README.md
    ${CMAKE_SOURCE_DIR}/LICENSE
  DEPENDS brinemark
  COMMENT "Writing ${RELEASE_ZIP}"
  VERBATIM)
