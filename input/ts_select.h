#pragma once
// Chooses the PID that carries the wanted stream of a transport stream.

#include <cstdint>
#include <optional>

#include "input/pes_payload.h"
#include "input/ts_packet_window.h"

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

}  // namespace quarnel
