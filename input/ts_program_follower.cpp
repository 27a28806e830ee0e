#include "input/ts_program_follower.h"

#include <algorithm>
#include <optional>

namespace quarnel {
namespace {

// How far back from a position its program's map is looked for. Maps repeat every tenth of a
// second or so in broadcasts and recordings.
constexpr std::int64_t map_reach_bytes = 2 << 20;
// Packets read back at once: small reads, which the file set does not fetch ahead.
constexpr int chunk_packets = 64;

bool names_streams(const TsProgram& program) {
    return program.video_pid != 0 || !program.audio_pids.empty();
}

// Whether the association section in `packet` leaves out program map PID `map_pid`; the maps
// it lists go to `maps`.
bool association_drops(const TsPacket& packet, int map_pid, std::vector<int>& maps) {
    auto read = parse_pat_maps(packet.payload);
    if (!read) return false;
    maps = std::move(*read);
    return std::find(maps.begin(), maps.end(), map_pid) == maps.end();
}

}  // namespace

TsProgramFollower::TsProgramFollower(TsProgram opened, std::unique_ptr<FileSetOps> files,
                                     TsPacketFormat format)
    : files_(std::move(files)),
      format_(format),
      chunk_(static_cast<std::size_t>(chunk_packets * format.packet_size)),
      opened_(opened),
      program_(std::move(opened)) {}

bool TsProgramFollower::lists_map(int pid) const {
    return std::find(association_maps_.begin(), association_maps_.end(), pid) !=
           association_maps_.end();
}

void TsProgramFollower::use(const TsProgram& program) {
    program_ = program;
    program_lost_ = false;
}

bool TsProgramFollower::follow(const TsPacket& packet) {
    if (packet.pid == 0) {
        if (association_drops(packet, program_.map_pid, association_maps_)) program_lost_ = true;
        return false;
    }
    const bool own_map = packet.pid == program_.map_pid;
    const auto program = parse_program(packet.payload, packet.pid);
    if (!program || !names_streams(*program)) return false;
    const bool changed = program->video_pid != program_.video_pid ||
                         program->audio_pids != program_.audio_pids ||
                         program->map_pid != program_.map_pid;
    if ((own_map || program_lost_) && changed) {
        use(*program);
        return true;
    }
    if (own_map) program_lost_ = false;
    return false;
}

bool TsProgramFollower::begins_program(const TsPacket& packet) const {
    if (!packet.unit_start || !active()) return false;
    if (packet.pid == 0) {
        std::vector<int> maps;
        return association_drops(packet, program_.map_pid, maps);
    }
    if (packet.pid != program_.map_pid) return false;
    const auto program = parse_program(packet.payload, packet.pid);
    return program && program->video_pid != program_.video_pid;
}

void TsProgramFollower::follow_from(std::int64_t position) {
    if (!active()) return;
    const auto packet_size = static_cast<std::int64_t>(format_.packet_size);
    std::optional<TsProgram> nearest;  // the nearest map of any program
    // Chunks of packets are read backwards from the packet that holds the position.
    std::int64_t end = std::max<std::int64_t>(0, position - position % packet_size + packet_size);
    const std::int64_t stop = std::max<std::int64_t>(0, position - map_reach_bytes);
    while (end > stop) {
        const std::int64_t start =
            std::max(stop - stop % packet_size,
                     end - static_cast<std::int64_t>(chunk_.size()));
        files_->seek(start, SeekOrigin::begin);
        const std::size_t got =
            files_->read(chunk_.data(), static_cast<std::size_t>(end - start));
        const std::size_t whole = static_cast<std::size_t>(format_.header_offset + ts_packet_bytes);
        for (std::int64_t at = end - packet_size; at >= start; at -= packet_size) {
            const auto offset = static_cast<std::size_t>(at - start);
            if (offset + whole > got) continue;
            const TsPacket packet =
                read_ts_packet(chunk_.data() + offset + static_cast<std::size_t>(format_.header_offset));
            if (!packet.unit_start) continue;
            if (packet.pid == 0) {
                std::vector<int> maps;
                if (association_drops(packet, opened_.map_pid, maps)) {
                    use(nearest ? *nearest : opened_);
                    return;
                }
                continue;
            }
            const auto program = parse_program(packet.payload, packet.pid);
            if (!program || !names_streams(*program)) continue;
            if (packet.pid == opened_.map_pid) {
                use(*program);
                return;
            }
            if (!nearest) nearest = program;
        }
        end = start;
    }
    use(opened_);
}

}  // namespace quarnel
