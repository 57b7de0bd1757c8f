# Writes SHA256SUMS beside the staged release files, in the format `sha256sum -c` reads.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
set(sums "")
foreach(name IN LISTS BRINEMARK_SUMMED_FILES)
  file(SHA256 "${root}/${name}" hash)
  string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${root}/SHA256SUMS" "${sums}")
