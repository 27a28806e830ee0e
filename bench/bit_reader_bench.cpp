// The video bit reader: reading fields, walking start codes, and the whole GOP list scan over
// a stream in memory and, when QUARNEL_BENCH_FILE names one, over a file.

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "base/settings.h"
#include "bench_data.h"
#include "support/memory_stream_ops.h"
#include "video/bit_reader_open.h"
#include "video/gop_list.h"
#include "video/video_bit_reader.h"

namespace quarnel::bench {
namespace {

std::unique_ptr<VideoBitReader> memory_reader(Bytes bytes) {
    return VideoBitReader::open(std::make_unique<test::MemoryStreamOps>(std::move(bytes)));
}

void BM_GetBits(benchmark::State& state) {
    constexpr std::size_t size = 4 << 20;
    const auto reader = memory_reader(coded_bytes(size));
    const int n = static_cast<int>(state.range(0));
    const std::int64_t fields = std::int64_t{size} * 8 / n;
    for (auto _ : state) {
        reader->bit_reader_seek(0, SeekOrigin::begin);
        std::uint32_t sum = 0;
        for (std::int64_t i = 0; i < fields; ++i) sum += reader->get_bits(n);
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_GetBits)->Arg(1)->Arg(8)->Arg(24);

void BM_NextStartCode(benchmark::State& state) {
    constexpr std::size_t size = 16 << 20;
    const auto reader =
        memory_reader(bytes_with_start_codes(size, static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        reader->bit_reader_seek(0, SeekOrigin::begin);
        std::size_t found = 0;
        while (reader->next_start_code()) {
            reader->skip_bits(32);
            ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_NextStartCode)->Arg(1024)->Arg(65536);

void scan(benchmark::State& state, VideoBitReader& reader) {
    const FrameCounting counting{.progressive_sequence = false, .first_top_field_first = 1};
    std::int64_t frames = 0;
    for (auto _ : state) {
        const auto list = build_gop_list(reader, counting, nullptr);
        if (!list) state.SkipWithError("the GOP list scan failed");
        frames = list ? list->total_frames : 0;
    }
    state.counters["frames"] = static_cast<double>(frames);
    state.SetBytesProcessed(state.iterations() * reader.stream_size());
}

void BM_GopListScanMemory(benchmark::State& state) {
    const auto reader = memory_reader(video_stream(64 << 20));
    scan(state, *reader);
}
BENCHMARK(BM_GopListScanMemory)->Unit(benchmark::kMillisecond);

// QUARNEL_BENCH_FILE=FILE quarnel_bench --benchmark_filter=File: the scan through the stream
// layer that accepts FILE, as quarnel-cli info --setting gl=3 runs it.
void BM_GopListScanFile(benchmark::State& state, const std::string& path) {
    const MemorySettings settings;
    const auto reader = bit_reader_open(path, settings);
    if (!reader) {
        state.SkipWithError("no stream layer accepts QUARNEL_BENCH_FILE");
        return;
    }
    scan(state, *reader);
}

const bool file_scan_registered = [] {
    if (const char* path = std::getenv("QUARNEL_BENCH_FILE"))
        benchmark::RegisterBenchmark("BM_GopListScanFile", BM_GopListScanFile, std::string(path))
            ->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
}  // namespace quarnel::bench
