// Throughput of the MD5 core on a buffer in memory, without any file reading.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/md5.h"

namespace {

void md5Core(benchmark::State& state) {
  std::vector<uint8_t> buffer(static_cast<size_t>(state.range(0)));
  for (size_t i = 0; i < buffer.size(); ++i) buffer[i] = static_cast<uint8_t>(i * 131 + 7);
  Md5 md5;
  for (auto _ : state) {
    md5.update(buffer.data(), buffer.size());
    benchmark::DoNotOptimize(md5.finish());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

BENCHMARK(md5Core)->Arg(64)->Arg(4096)->Arg(1 << 20)->Arg(16 << 20);

}  // namespace

BENCHMARK_MAIN();
