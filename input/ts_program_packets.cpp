#include "input/ts_program_packets.h"

#include <algorithm>
#include <utility>

#include "base/settings.h"
#include "input/ts_packet_format.h"
#include "input/ts_select.h"

namespace quarnel {

std::unique_ptr<TsProgramPackets> TsProgramPackets::open(const std::string& path,
                                                         const SettingsStore& settings) {
    auto files = file_set_open(path, settings);
    if (!files) return nullptr;
    const auto format = detect_packet_size(*files);
    if (!format) return nullptr;
    // The audio is measured at points spread over the file: each costs a window. Windows below
    // 128 KiB are not fetched ahead by the file set, which a jump would waste.
    constexpr int window_packets = 512;
    auto window = TsPacketWindow::open(std::move(files), *format, window_packets);
    if (!window) return nullptr;
    auto program = find_program(*window, read_search_limit(settings));
    auto follower_files = file_set_open(path, settings);
    if (!program || !follower_files) return nullptr;
    std::unique_ptr<TsProgramPackets> packets(new TsProgramPackets(
        std::move(window),
        TsProgramFollower(std::move(*program), std::move(follower_files), *format)));
    packets->seek(0);
    return packets;
}

TsProgramPackets::TsProgramPackets(std::unique_ptr<TsPacketWindow> window,
                                   TsProgramFollower follower)
    : window_(std::move(window)), follower_(std::move(follower)) {
    restart_assemblies();
}

int TsProgramPackets::pid_of(int stream) const {
    const TsProgram& program = follower_.program();
    if (stream == video_stream) return program.video_pid;
    const int n = stream - first_audio_stream;
    if (n < 0 || n >= std::min<int>(max_audio_streams, static_cast<int>(program.audio_pids.size())))
        return 0;
    return program.audio_pids[static_cast<std::size_t>(n)];
}

int TsProgramPackets::stream_of(int pid) const {
    const TsProgram& program = follower_.program();
    if (pid == program.video_pid && pid != 0) return video_stream;
    const std::size_t count = std::min<std::size_t>(max_audio_streams, program.audio_pids.size());
    for (std::size_t n = 0; n < count; ++n) {
        if (program.audio_pids[n] == pid) return first_audio_stream + static_cast<int>(n);
    }
    return -1;
}

void TsProgramPackets::restart_assemblies() {
    // The packets' storage stays for the next packets.
    assemblies_.resize(
        1 + std::min<std::size_t>(max_audio_streams, follower_.program().audio_pids.size()));
    for (Assembly& assembly : assemblies_) {
        pes_packet_release(assembly.packet);
        assembly.started = false;
    }
}

void TsProgramPackets::move_to(std::int64_t position) {
    follower_.follow_from(position);
    restart_assemblies();
    window_->position_seek(position);
}

void TsProgramPackets::seek(std::int64_t position, std::int64_t end) {
    move_to(position - position % window_->format().packet_size);
    end_ = end;
}

bool TsProgramPackets::next(PesPacket& packet, Found& found) {
    const auto deliver = [&](Assembly& assembly, int stream) {
        std::swap(packet, assembly.packet);
        pes_packet_release(assembly.packet);
        assembly.started = false;
        found = {assembly.start, stream};
        return true;
    };
    while (const auto transport = window_->current_packet()) {
        // From the end on no packet starts; the data ends once none is left being assembled.
        if (window_->packet_position() >= end_ &&
            std::none_of(assemblies_.begin(), assemblies_.end(),
                         [](const Assembly& assembly) { return assembly.started; })) {
            return false;
        }
        // Packets being assembled from streams that the new map drops are given up.
        if (follower_.watches(*transport) && follower_.follow(*transport)) restart_assemblies();
        const int stream = stream_of(transport->pid);
        if (stream >= 0 && (only_stream_ < 0 || stream == only_stream_) &&
            !transport->payload.empty()) {
            Assembly& assembly =
                assemblies_[stream == video_stream
                                ? 0
                                : static_cast<std::size_t>(1 + stream - first_audio_stream)];
            // A packet of open length ends where the next one starts, in this transport packet,
            // which is looked at again by the next call.
            if (transport->unit_start && assembly.started && assembly.packet.open_length_begun()) {
                return deliver(assembly, stream);
            }
            if (transport->unit_start) {
                pes_packet_release(assembly.packet);
                assembly.started = window_->packet_position() < end_;
                assembly.start = window_->packet_position();
            }
            if (assembly.started) {
                const int offered = static_cast<int>(transport->payload.size());
                const int taken = pes_feed(assembly.packet, transport->payload.data(), offered);
                const bool open_length_ended =
                    taken < offered && assembly.packet.open_length_begun();
                if (assembly.packet.complete() || open_length_ended) {
                    window_->next_packet();
                    return deliver(assembly, stream);
                }
                // A packet whose storage could not be allocated is given up.
                if (taken < offered) {
                    pes_packet_release(assembly.packet);
                    assembly.started = false;
                }
            }
        }
        window_->next_packet();
    }
    // The end of the data ends a packet of open length.
    for (std::size_t i = 0; i < assemblies_.size(); ++i) {
        Assembly& assembly = assemblies_[i];
        if (assembly.started && assembly.packet.open_length_begun()) {
            return deliver(assembly, i == 0 ? video_stream
                                            : first_audio_stream + static_cast<int>(i) - 1);
        }
    }
    return false;
}

std::optional<std::int64_t> TsProgramPackets::previous(int stream, std::int64_t begin,
                                                       std::int64_t before, PesPacket& packet) {
    if (before <= 0) return std::nullopt;
    follower_.follow_from(before);
    restart_assemblies();
    const int pid = pid_of(stream);
    if (pid == 0) return std::nullopt;
    const int packet_size = window_->format().packet_size;
    for (std::int64_t at = (before - 1) - (before - 1) % packet_size; at >= begin;
         at -= packet_size) {
        window_->position_seek(at);
        const auto transport = window_->current_packet();
        if (transport && transport->pid == pid && transport->unit_start &&
            assemble_from_here(pid, packet)) {
            return at;
        }
    }
    return std::nullopt;
}

bool TsProgramPackets::assemble_from_here(int pid, PesPacket& packet) {
    pes_packet_release(packet);
    const std::int64_t start = window_->packet_position();
    for (; const auto transport = window_->current_packet(); window_->next_packet()) {
        if (transport->pid != pid) continue;
        // The next packet start ends a packet of open length, and gives up one cut short.
        if (transport->unit_start && window_->packet_position() != start)
            return packet.open_length_begun();
        const int offered = static_cast<int>(transport->payload.size());
        const int taken = pes_feed(packet, transport->payload.data(), offered);
        if (packet.complete()) return true;
        if (taken < offered) return packet.open_length_begun();
    }
    return packet.open_length_begun();
}

}  // namespace quarnel
