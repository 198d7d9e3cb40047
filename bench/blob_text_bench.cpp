// Throughput of the binary-to-text codec on a small block and on 1 MiB of mixed bytes.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "store/db/sqlite_blob_text.h"

namespace {

std::string Bytes(std::size_t size) {
    std::mt19937 random(7);
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

void Encode(benchmark::State& state) {
    const std::string bytes = Bytes(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(SqliteBlobText::Encode(bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

void Decode(benchmark::State& state) {
    const std::string text =
        SqliteBlobText::Encode(Bytes(static_cast<std::size_t>(state.range(0))));
    std::string bytes;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SqliteBlobText::Decode(text, bytes));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}

}  // namespace

BENCHMARK(Encode)->Arg(10240)->Arg(1 << 20);
BENCHMARK(Decode)->Arg(10240)->Arg(1 << 20);
BENCHMARK_MAIN();
