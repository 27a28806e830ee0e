// The container layers: assembling PES packets from transport packet payloads, and reading a
// video stream through the program and transport stream layers.

#include <benchmark/benchmark.h>

#include <algorithm>

#include "base/settings.h"
#include "bench_data.h"
#include "input/pes_packet.h"
#include "input/ps_layer.h"
#include "input/ts_layer.h"
#include "support/ps_writer.h"
#include "support/temp_dir.h"
#include "support/ts_writer.h"

namespace quarnel::bench {
namespace {

constexpr int video_pid = 0x100;
constexpr std::size_t picture_bytes = 40000;  // a picture of an 8 Mbit/s recording

// An unbounded video PES packet (as transport streams carry video) fed in transport packet
// payloads of 184 bytes, then the first bytes of the next packet that end it.
void BM_PesFeedUnbounded(benchmark::State& state) {
    const Bytes payload = coded_bytes(picture_bytes);
    Bytes pes = test::pes_packet(test::MuxSyntax::mpeg2, 0xE0, payload, {}, false);
    const Bytes next = test::pes_packet(test::MuxSyntax::mpeg2, 0xE0, coded_bytes(16), {}, false);
    pes.insert(pes.end(), next.begin(), next.end());
    PesPacket packet;
    for (auto _ : state) {
        pes_packet_release(packet);
        for (std::size_t at = 0; at < pes.size(); at += 184) {
            const int count = static_cast<int>(std::min<std::size_t>(184, pes.size() - at));
            if (pes_feed(packet, pes.data() + at, count) < count) break;
        }
        benchmark::DoNotOptimize(packet.fill());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * pes.size()));
}
BENCHMARK(BM_PesFeedUnbounded);

// Reads the whole stream through `layer` once per iteration.
void read_through(benchmark::State& state, StreamOps& layer, std::size_t file_bytes) {
    std::vector<std::uint8_t> buffer(0x80000);
    for (auto _ : state) {
        layer.seek(0, SeekOrigin::begin);
        std::size_t total = 0;
        while (const std::size_t got = layer.read(buffer.data(), buffer.size())) total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file_bytes));
}

// 32 MiB of video in DVD-style packs: a pack header and a 2 KiB video packet each.
void BM_PsLayerRead(benchmark::State& state) {
    const Bytes video = coded_bytes(32 << 20);
    test::PsWriter ps;
    ps.packets(0xE0, video, 2025);
    const test::TempDir dir;
    const std::string path = dir.write("bench.mpg", ps.bytes());
    const MemorySettings settings;
    const auto layer = ps_layer_open(path, StreamKind::video, settings);
    if (!layer) {
        state.SkipWithError("the program stream layer refused the stream");
        return;
    }
    read_through(state, *layer, ps.size());
}
BENCHMARK(BM_PsLayerRead)->Unit(benchmark::kMillisecond);

// 32 MiB of video in transport packets, one PES packet per picture, behind a PAT and a PMT.
void BM_TsLayerRead(benchmark::State& state) {
    const Bytes video = coded_bytes(32 << 20);
    test::TsWriter ts;
    ts.section(0, test::pat_section({{1, 0x1000}}));
    ts.section(0x1000,
               test::pmt_section(1, {{.stream_type = 0x02, .pid = video_pid, .es_info = {}}}));
    ts.video(video_pid, video, picture_bytes);
    const test::TempDir dir;
    const std::string path = dir.write("bench.ts", ts.bytes());
    const MemorySettings settings;
    const auto layer = ts_layer_open(path, StreamKind::video, settings);
    if (!layer) {
        state.SkipWithError("the transport stream layer refused the stream");
        return;
    }
    read_through(state, *layer, ts.bytes().size());
}
BENCHMARK(BM_TsLayerRead)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quarnel::bench
