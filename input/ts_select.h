#pragma once
// Chooses the PID that carries the wanted stream of a transport stream.

#include <cstdint>
#include <optional>

#include "input/pes_payload.h"
#include "input/ts_packet_window.h"
#include "input/ts_tables.h"

namespace quarnel {

struct TsSelection {
    int pid = 0;
    int number = 0;  // the stream number its PES packets must classify with
    bool operator==(const TsSelection&) const = default;
};

// Looks for the PID in the program association and program map tables, and failing that in
// the PES packets themselves, in the packets that begin within `limit` bytes of the window's
// position (its start at open). The tables give a video stream number 0.
std::optional<TsSelection> select_pid(TsPacketWindow& window, StreamKind wanted,
                                      std::int32_t limit);

// The program whose video select_pid chooses from the tables: the first program map section
// after the program association that lists MPEG video, or failing that the first that lists
// MPEG audio; looked for like select_pid's. Nothing without one.
std::optional<TsProgram> find_program(TsPacketWindow& window, std::int32_t limit);

}  // namespace quarnel
