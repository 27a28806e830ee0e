#include "input/ts_program_packets.h"

#include <algorithm>
#include <utility>

#include "input/ts_packet_format.h"
#include "input/ts_select.h"

namespace quarnel {
namespace {

// How far back from a position its program's map is looked for. Maps repeat every tenth of a
// second or so in broadcasts and recordings.
constexpr std::int64_t map_reach_bytes = 2 << 20;

bool names_streams(const TsProgram& program) {
    return program.video_pid != 0 || !program.audio_pids.empty();
}

bool starts_table(const TsPacket& packet) {
    return packet.unit_start && !packet.payload.empty();
}

}  // namespace

std::unique_ptr<TsProgramPackets> TsProgramPackets::open(std::unique_ptr<FileSetOps> files,
                                                         std::int32_t limit) {
    if (!files) return nullptr;
    const auto format = detect_packet_size(*files);
    if (!format) return nullptr;
    auto window = TsPacketWindow::open(std::move(files), *format);
    if (!window) return nullptr;
    auto program = find_program(*window, limit);
    if (!program) return nullptr;
    std::unique_ptr<TsProgramPackets> packets(
        new TsProgramPackets(std::move(window), std::move(*program), limit));
    packets->seek(0);
    return packets;
}

TsProgramPackets::TsProgramPackets(std::unique_ptr<TsPacketWindow> window, TsProgram program,
                                   std::int32_t limit)
    : window_(std::move(window)), opened_(std::move(program)), limit_(limit) {
    opened_.audio_pids.resize(std::min<std::size_t>(opened_.audio_pids.size(), max_audio_streams));
    use_program(opened_);
}

int TsProgramPackets::pid_of(int stream) const {
    if (stream == video_stream) return program_.video_pid;
    const int n = stream - first_audio_stream;
    if (n < 0 || n >= static_cast<int>(program_.audio_pids.size())) return 0;
    return program_.audio_pids[static_cast<std::size_t>(n)];
}

int TsProgramPackets::stream_of(int pid) const {
    if (pid == program_.video_pid && pid != 0) return video_stream;
    for (std::size_t n = 0; n < program_.audio_pids.size(); ++n) {
        if (program_.audio_pids[n] == pid) return first_audio_stream + static_cast<int>(n);
    }
    return -1;
}

void TsProgramPackets::use_program(const TsProgram& program) {
    program_ = program;
    program_.audio_pids.resize(std::min<std::size_t>(program_.audio_pids.size(), max_audio_streams));
    program_lost_ = false;
    // The packets' storage stays for the next packets.
    assemblies_.resize(1 + program_.audio_pids.size());
    for (Assembly& assembly : assemblies_) {
        pes_packet_release(assembly.packet);
        assembly.started = false;
    }
}

void TsProgramPackets::follow_tables(const TsPacket& packet) {
    if (packet.pid == 0) {
        PidTable association;
        parse_pat(packet.payload, association);
        if (!association.association_seen()) return;
        association_ = association;
        if (association_[program_.map_pid] != PidTable::program_map) program_lost_ = true;
        return;
    }
    const bool own_map = packet.pid == program_.map_pid;
    const auto program = parse_program(packet.payload, packet.pid);
    if (!program || !names_streams(*program)) return;
    // A map of the program that names other streams, or the first map after the program was
    // dropped.
    if ((own_map && (program->video_pid != program_.video_pid ||
                     program->audio_pids != program_.audio_pids)) ||
        (program_lost_ && !own_map)) {
        use_program(*program);
    } else if (own_map) {
        program_lost_ = false;
    }
}

TsProgram TsProgramPackets::program_at(std::int64_t position) {
    const int packet_size = window_->format().packet_size;
    std::optional<TsProgram> nearest;  // the nearest map of any program
    for (std::int64_t at = position - position % packet_size;
         at >= 0 && position - at <= map_reach_bytes; at -= packet_size) {
        window_->position_seek(at);
        const auto packet = window_->current_packet();
        if (!packet || !starts_table(*packet)) continue;
        if (packet->pid == 0) {
            // An association that drops the program: the map after it holds the streams.
            PidTable association;
            parse_pat(packet->payload, association);
            if (association.association_seen() &&
                association[opened_.map_pid] != PidTable::program_map) {
                if (nearest) return *nearest;
                break;
            }
            continue;
        }
        const auto program = parse_program(packet->payload, packet->pid);
        if (!program || !names_streams(*program)) continue;
        if (packet->pid == opened_.map_pid) return *program;
        if (!nearest) nearest = program;
    }
    return opened_;
}

void TsProgramPackets::seek(std::int64_t position) {
    use_program(program_at(position));
    const int packet_size = window_->format().packet_size;
    window_->position_seek(position - position % packet_size);
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
        const int pid = transport->pid;
        if (starts_table(*transport) &&
            (pid == 0 || pid == program_.map_pid ||
             (program_lost_ && association_[pid] == PidTable::program_map))) {
            follow_tables(*transport);
        }
        const int stream = stream_of(pid);
        if (stream >= 0 && (only_stream_ < 0 || stream == only_stream_) &&
            !transport->payload.empty()) {
            Assembly& assembly =
                assemblies_[stream == video_stream
                                ? 0
                                : static_cast<std::size_t>(1 + stream - first_audio_stream)];
            // A packet of open length ends where the next one starts, in this transport packet,
            // which is looked at again by the next call.
            if (transport->unit_start && assembly.started && assembly.packet.length() == 0 &&
                assembly.packet.fill() > 0) {
                return deliver(assembly, stream);
            }
            if (transport->unit_start) {
                pes_packet_release(assembly.packet);
                assembly.started = true;
                assembly.start = window_->packet_position();
            }
            if (assembly.started) {
                const int offered = static_cast<int>(transport->payload.size());
                const int taken = pes_feed(assembly.packet, transport->payload.data(), offered);
                const bool open_length_ended = assembly.packet.length() == 0 && taken < offered &&
                                               assembly.packet.fill() > 0;
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
        if (assembly.started && assembly.packet.length() == 0 && assembly.packet.fill() > 0) {
            return deliver(assembly, i == 0 ? video_stream
                                            : first_audio_stream + static_cast<int>(i) - 1);
        }
    }
    return false;
}

std::optional<std::int64_t> TsProgramPackets::previous(int stream, std::int64_t begin,
                                                       std::int64_t before, PesPacket& packet) {
    if (before <= 0) return std::nullopt;
    const TsProgram program = program_at(before);
    use_program(program);
    const int pid = pid_of(stream);
    if (pid == 0) return std::nullopt;
    const int packet_size = window_->format().packet_size;
    for (std::int64_t at = (before - 1) - (before - 1) % packet_size; at >= begin;
         at -= packet_size) {
        window_->position_seek(at);
        const auto transport = window_->current_packet();
        if (!transport || transport->pid != pid || !transport->unit_start) continue;
        use_program(program);
        Found found;
        while (next(packet, found)) {
            if (found.stream != stream) continue;
            if (found.start == at) return at;
            break;
        }
    }
    return std::nullopt;
}

}  // namespace quarnel
