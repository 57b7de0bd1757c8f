#include <sys/stat.h>

#include "support/read_only.h"

// Without any write permission a file is read-only to our update opens, root's included.
bool makeReadOnly(const std::string& path) { return chmod(path.c_str(), 0444) == 0; }
