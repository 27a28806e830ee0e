// The forward and backward searches for 00 00 01 over coded bytes with a start code every
// `spacing` bytes: 1 KiB is a slice of a standard-definition picture, 64 KiB a rare one.

#include <benchmark/benchmark.h>

#include "base/start_code.h"
#include "bench_data.h"
#include "support/start_code_skip_table.h"

namespace quarnel::bench {
namespace {

constexpr std::size_t buffer_bytes = 0x80000;  // one block of the readers

template <auto search>
void forward_search(benchmark::State& state) {
    const Bytes data =
        bytes_with_start_codes(buffer_bytes, static_cast<std::size_t>(state.range(0)));
    const std::uint8_t* const end = data.data() + data.size();
    std::size_t found = 0;
    for (auto _ : state) {
        for (const std::uint8_t* p = data.data(); (p = search(p, end)) != nullptr; p += 3) ++found;
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}

void BM_FindStartCode(benchmark::State& state) {
    forward_search<find_start_code>(state);
}
void BM_FindStartCodeSkipTable(benchmark::State& state) {
    forward_search<test::find_start_code_skip_table>(state);
}
BENCHMARK(BM_FindStartCode)->Arg(1024)->Arg(65536);
BENCHMARK(BM_FindStartCodeSkipTable)->Arg(1024)->Arg(65536);

void BM_FindStartCodeBackward(benchmark::State& state) {
    const Bytes data =
        bytes_with_start_codes(buffer_bytes, static_cast<std::size_t>(state.range(0)));
    const std::uint8_t* const start = data.data();
    std::size_t found = 0;
    for (auto _ : state) {
        const std::uint8_t* from = start + data.size() - 1;
        while (const std::uint8_t* hit = find_start_code_backward(from, start)) {
            ++found;
            if (hit == start) break;
            from = hit - 1;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
}
BENCHMARK(BM_FindStartCodeBackward)->Arg(1024)->Arg(65536);

}  // namespace
}  // namespace quarnel::bench
