#include "input/ts_program_follower.h"

#include <optional>

namespace quarnel {
namespace {

// How far back from a position its program's map is looked for. Maps repeat every tenth of a
// second or so in broadcasts and recordings.
constexpr std::int64_t map_reach_bytes = 2 << 20;

bool names_streams(const TsProgram& program) {
    return program.video_pid != 0 || !program.audio_pids.empty();
}

// Whether the association section in `packet` leaves out program map PID `map_pid`.
bool association_drops(const TsPacket& packet, int map_pid, PidTable& association) {
    PidTable read;
    parse_pat(packet.payload, read);
    if (!read.association_seen()) return false;
    association = read;
    return association[map_pid] != PidTable::program_map;
}

}  // namespace

void TsProgramFollower::use(const TsProgram& program) {
    program_ = program;
    program_lost_ = false;
}

bool TsProgramFollower::follow(const TsPacket& packet) {
    if (packet.pid == 0) {
        if (association_drops(packet, program_.map_pid, association_)) program_lost_ = true;
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
        PidTable association;
        return association_drops(packet, program_.map_pid, association);
    }
    if (packet.pid != program_.map_pid) return false;
    const auto program = parse_program(packet.payload, packet.pid);
    return program && program->video_pid != program_.video_pid;
}

void TsProgramFollower::follow_from(TsPacketWindow& window, std::int64_t position) {
    if (!active()) return;
    const int packet_size = window.format().packet_size;
    std::optional<TsProgram> nearest;  // the nearest map of any program
    for (std::int64_t at = position - position % packet_size;
         at >= 0 && position - at <= map_reach_bytes; at -= packet_size) {
        window.position_seek(at);
        const auto packet = window.current_packet();
        if (!packet || !packet->unit_start) continue;
        if (packet->pid == 0) {
            PidTable association;
            if (association_drops(*packet, opened_.map_pid, association)) {
                use(nearest ? *nearest : opened_);
                return;
            }
            continue;
        }
        const auto program = parse_program(packet->payload, packet->pid);
        if (!program || !names_streams(*program)) continue;
        if (packet->pid == opened_.map_pid) {
            use(*program);
            return;
        }
        if (!nearest) nearest = program;
    }
    use(opened_);
}

}  // namespace quarnel
