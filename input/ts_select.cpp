#include "input/ts_select.h"

#include <vector>

#include "input/pes_packet.h"
#include "input/ts_tables.h"

namespace quarnel {

namespace {

// Offers each packet from the current one on to `visit` until it returns true (then the
// cursor stays on that packet and the result is true), the data ends, or a step lands
// beyond `limit`.
template <typename Visit>
bool walk_packets(TsPacketWindow& window, std::int32_t limit, Visit visit) {
    while (const auto packet = window.current_packet()) {
        if (visit(*packet)) return true;
        window.next_packet();
        if (window.packet_position() > limit) break;
    }
    return false;
}

// What the content scan knows about one PID.
struct PidScan {
    enum class Verdict { open, wanted, ignored };
    PesPacket packet;  // recognises the next packet start while the verdict is open
    Verdict verdict = Verdict::open;
    int number = -1;
};

// The PES packets of each PID tell their kind by their stream id (and sub-stream id). A PID
// whose packet has the wanted kind keeps it for good; another kind of stream is looked at
// afresh at its next packet start; a recognised packet of no kind (a map, padding) leaves its
// PID out for good. The last PID with the wanted kind to carry a packet wins.
std::optional<TsSelection> scan_content(TsPacketWindow& window, StreamKind wanted,
                                        std::int32_t limit) {
    std::vector<PidScan> scans(8192);
    std::optional<TsSelection> choice;
    window.position_seek(0);
    walk_packets(window, limit, [&](const TsPacket& packet) {
        if (packet.pid < 0x10 || packet.pid == ts_null_pid || packet.payload.empty()) return false;
        PidScan& scan = scans[static_cast<std::size_t>(packet.pid)];
        if (scan.verdict == PidScan::Verdict::open) {
            pes_feed(scan.packet, packet.payload.data(), static_cast<int>(packet.payload.size()));
            const StreamClass found = classify_pes_packet(scan.packet);
            if (found.kind == wanted) {
                scan.verdict = PidScan::Verdict::wanted;
                scan.number = found.number;
            } else if (found.kind == StreamKind::none && scan.packet.recognised()) {
                scan.verdict = PidScan::Verdict::ignored;
            }
            if (found.kind != StreamKind::none || scan.packet.recognised())
                pes_packet_release(scan.packet);
        }
        if (scan.verdict == PidScan::Verdict::wanted) choice = TsSelection{packet.pid, scan.number};
        return false;
    });
    return choice;
}

// Reads program association sections until one has been read; the cursor stays on its packet.
bool walk_to_association(TsPacketWindow& window, std::int32_t limit, PidTable& table) {
    return walk_packets(window, limit, [&](const TsPacket& packet) {
        if (packet.pid == 0) parse_pat(packet.payload, table);
        return table.association_seen();
    });
}

}  // namespace

std::optional<TsSelection> select_pid(TsPacketWindow& window, StreamKind wanted,
                                      std::int32_t limit) {
    PidTable table;
    const bool association = walk_to_association(window, limit, table);
    // The program map sections are looked for from the packet that held the association on.
    int pid = 0;
    if (association) {
        walk_packets(window, limit, [&](const TsPacket& packet) {
            if (table[packet.pid] == PidTable::program_map)
                pid = parse_pmt(packet.payload, wanted, table);
            return pid != 0;
        });
    }
    if (pid != 0) return TsSelection{pid, 0};
    return scan_content(window, wanted, limit);
}

std::optional<TsProgram> find_program(TsPacketWindow& window, std::int32_t limit) {
    PidTable table;
    if (!walk_to_association(window, limit, table)) return std::nullopt;
    std::optional<TsProgram> with_audio;
    std::optional<TsProgram> with_video;
    walk_packets(window, limit, [&](const TsPacket& packet) {
        if (table[packet.pid] != PidTable::program_map || !packet.unit_start) return false;
        const auto program = parse_program(packet.payload, packet.pid);
        if (program && program->video_pid != 0) with_video = program;
        if (program && !program->audio_pids.empty() && !with_audio) with_audio = program;
        return with_video.has_value();
    });
    return with_video ? with_video : with_audio;
}

}  // namespace quarnel
