#pragma once
// The rest of a PES packet, copied from the transport packets of its PID straight into the
// reader's buffer. The transport stream layer assembles only the first bytes of a packet it
// delivers (its header and the start of its payload) and leaves the rest to this, which saves
// copying every payload byte into the packet first and searching each transport packet's
// payload on its own. The bytes delivered, where the packet ends and the transport packet the
// window is left at are those of assembling the whole packet with pes_feed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "input/pes_packet.h"
#include "input/prefix_notes.h"
#include "input/ts_program_follower.h"

namespace quarnel {

class TsPacketWindow;

class TsPesContinuation {
  public:
    // Takes over after `head`: its last feed took all it was offered without completing it,
    // and it stores its header and at least 3 payload bytes. The window stands after the last
    // transport packet fed. Returns the stored payload bytes that may be delivered; the last
    // ones are held back while they may begin the prefix of the next packet's start code.
    std::span<const std::uint8_t> start(const PesPacket& head);

    // Copies up to `size` of the following payload bytes from the transport packets of `pid`;
    // returns how many, 0 once the packet has ended. A packet ends at the next packet start
    // (find_packet_start) when its length is open, after its length otherwise, at the end of
    // the data, or at PesPacket::unbounded_capacity_limit bytes.
    std::size_t take(TsPacketWindow& window, int pid, std::uint8_t* destination, std::size_t size);

    // The start codes the last take found in the bytes it delivered while it looked for the
    // end of the packet.
    FoundStartCodes found() const { return found_; }

    // Has `follower` (which must outlive this) read the tables passed while copying: a packet
    // ends where the program's video moves to another PID.
    void follow_with(TsProgramFollower* follower) { follower_ = follower; }

    // Whether bytes may still follow.
    bool open() const { return open_ || spill_offset_ < spill_size_; }
    void stop() {
        open_ = false;
        spill_offset_ = spill_size_ = 0;
    }

  private:
    // Reads this few bytes at least at once: then one byte or more is always decided.
    static constexpr std::size_t smallest_take = 4;

    std::size_t copy_payload(TsPacketWindow& window, int pid, std::uint8_t* destination,
                             std::size_t size);

    TsProgramFollower* follower_ = nullptr;
    bool open_ = false;
    bool open_length_ = false;  // the packet's length field is 0: a packet start ends it
    int fill_ = 0;              // bytes of the packet so far, as pes_feed counts them
    int limit_ = 0;             // where the packet ends at the latest
    // Payload bytes of the window's current transport packet already taken.
    std::size_t consumed_ = 0;
    // The last bytes copied, held back while they may begin a prefix: they come first next time.
    std::array<std::uint8_t, 3> held_{};
    std::size_t held_size_ = 0;
    // Bytes decided but not yet delivered, after a read of fewer than smallest_take bytes.
    std::array<std::uint8_t, smallest_take> spill_{};
    std::size_t spill_offset_ = 0;
    std::size_t spill_size_ = 0;
    // The prefixes passed while searching the last copy for a packet start.
    PrefixNotes prefixes_;
    FoundStartCodes found_;
};

}  // namespace quarnel
