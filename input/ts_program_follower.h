#pragma once
// Follows the program whose streams are read through the tables of a transport stream: its
// map may name other streams, and a new program association may drop it, as where two
// recordings were joined; the first map after that, of a program that names a stream, takes
// its place.

#include <cstdint>
#include <memory>
#include <vector>

#include "input/file_set.h"
#include "input/ts_packet_format.h"
#include "input/ts_packet_window.h"
#include "input/ts_tables.h"

namespace quarnel {

class TsProgramFollower {
  public:
    // Follows nothing.
    TsProgramFollower() = default;
    // Follows `opened`; `files` (a file set of its own, so that the reader's window stays
    // where it is) are read to find the program in force at a position.
    TsProgramFollower(TsProgram opened, std::unique_ptr<FileSetOps> files, TsPacketFormat format);

    bool active() const { return files_ != nullptr; }
    const TsProgram& program() const { return program_; }

    // Whether `packet` may change the program: it starts a section on PID 0, on the
    // program's map PID, or, once the program was dropped, on a map PID of the association.
    bool watches(const TsPacket& packet) const {
        return packet.unit_start && active() &&
               (packet.pid == 0 || packet.pid == program_.map_pid ||
                (program_lost_ && lists_map(packet.pid)));
    }
    // Reads the tables in a packet that watches() accepts; true when the program's streams
    // changed.
    bool follow(const TsPacket& packet);

    // Whether the followed program began at `packet`: an association that leaves out its map
    // PID, or its map naming other video, lies there, so none of its video lies before.
    bool begins_program(const TsPacket& packet) const;

    // Makes the program in force at byte `position` the one followed: that of the nearest map
    // of the opened program before it, or after an association that drops it, of the nearest
    // map of another program.
    void follow_from(std::int64_t position);

  private:
    void use(const TsProgram& program);
    bool lists_map(int pid) const;

    std::unique_ptr<FileSetOps> files_;
    TsPacketFormat format_;
    std::vector<std::uint8_t> chunk_;  // packets read back from a position
    TsProgram opened_;   // the program chosen at open
    TsProgram program_;  // the program being read
    bool program_lost_ = false;
    std::vector<int> association_maps_;  // of the last association read
};

}  // namespace quarnel
