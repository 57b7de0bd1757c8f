// Prints the digest of one file as the product takes it, in the form md5sum prints, so
// the file digest can be timed beside other tools.
#include <cstdio>
#include <string>

#include "platform/file_digest.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: digest_file FILE\n");
    return 2;
  }
  const std::string digest = fileDigestMd5(argv[1]);
  if (digest.empty()) {
    std::fprintf(stderr, "digest_file: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("%s  %s\n", digest.c_str(), argv[1]);
  return 0;
}
