// Throughput of the MD5 core on 16 MiB in memory and of the whole-file digest on FILE, each
// the median of ROUNDS timed runs, in MB/s. Built for Windows, so the 32-bit product's code
// and its 64-bit twin can be set side by side under Wine (bench/digest-under-wine).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/file_digest.h"
#include "platform/md5.h"

namespace {

using Clock = std::chrono::steady_clock;

template <typename Work>
double medianSeconds(int rounds, Work work) {
  std::vector<double> seconds;
  for (int round = 0; round < rounds; ++round) {
    const Clock::time_point start = Clock::now();
    work();
    seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
  }
  std::sort(seconds.begin(), seconds.end());
  return seconds[seconds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: digest_speed FILE FILE_BYTES ROUNDS\n");
    return 2;
  }
  const double fileBytes = std::atof(argv[2]);
  const int rounds = std::max(1, std::atoi(argv[3]));

  std::vector<uint8_t> buffer(16u << 20);
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 131 + 7);
  Md5 md5;
  volatile uint8_t kept = 0;  // keeps the digest, so the work cannot be left out
  const double core = medianSeconds(rounds, [&] {
    md5.update(buffer.data(), buffer.size());
    kept = md5.finish()[0];
  });

  std::string digest;
  const double file = medianSeconds(rounds, [&] { digest = fileDigestMd5(argv[1]); });
  if (digest.empty()) {
    std::fprintf(stderr, "digest_speed: cannot read %s\n", argv[1]);
    return 1;
  }
  std::printf("%zu-bit core %.0f MB/s, file %.0f MB/s (%.3f s), digest %s\n",
              sizeof(void*) * 8, double(buffer.size()) / core / 1e6, fileBytes / file / 1e6,
              file, digest.c_str());
  return 0;
}
