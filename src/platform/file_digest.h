#pragma once

#include <string>

// The MD5 digest of the whole file at `path` as 32 lowercase hexadecimal digits, or an
// empty text when there is no path, the file cannot be opened (missing, a directory, held
// by a writer elsewhere) or the read block cannot be had. The file is read in blocks of
// 1 MiB and never held in memory whole; a read that fails part way ends the reading.
std::string fileDigestMd5(const char* path);
