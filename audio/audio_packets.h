#pragma once
// The packets the audio reader walks: those of a program stream, or those of the program of
// a transport stream whose video is read, with where each begins and which stream it belongs
// to.

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "input/file_set.h"
#include "input/pes_packet.h"
#include "input/pes_payload.h"

namespace quarnel {

class SettingsStore;

// Where a packet read begins and what it carries.
struct PacketPlace {
    std::int64_t start = 0;  // byte offset where the packet begins
    // Names the packet's elementary stream: its stream id in a program stream; in a transport
    // stream its place in the program, 0xE0 for the video and 0xC0 + n for the n-th MPEG
    // audio stream, which stays when the program's map changes the PIDs.
    int stream = 0;
    StreamKind kind = StreamKind::none;
    int number = -1;  // the stream number of a video packet
};

// The last packet of a stream before a position, as a backward search finds it.
struct PreviousPacket {
    std::int64_t start = 0;
    bool whole = false;  // read whole into the packet
};

class AudioPackets {
  public:
    virtual ~AudioPackets() = default;

    virtual const FileSetOps& file_set() const = 0;
    // Moves to byte offset `position`: the next packet read begins at or after it, and reads
    // end at a packet that begins at or after `end`.
    virtual void seek(std::int64_t position,
                      std::int64_t end = std::numeric_limits<std::int64_t>::max()) = 0;
    // The position after the last packet read, or the one sought.
    virtual std::int64_t tell() const = 0;
    // Reads the next packet; false at the end of the data.
    virtual bool read(PesPacket& packet, PacketPlace& place) = 0;
    // Packets of streams other than `stream` need not be read from now on.
    virtual void keep_only(int /*stream*/) {}
    // The last packet of `stream` that begins before `before`, read into `packet`; nothing
    // when none begins at or after `begin`.
    virtual std::optional<PreviousPacket> read_previous(int stream, std::int64_t begin,
                                                        std::int64_t before,
                                                        PesPacket& packet) = 0;
};

// The packets of the file set at `path`: through the transport stream layer when `head`
// (the start of the file) begins with transport packets, else as a program stream, in which
// case `head` must hold an MPEG audio packet that a start code or zero bytes follow. Nullptr
// when the file offers no audio packets this way.
std::unique_ptr<AudioPackets> open_audio_packets(const std::string& path,
                                                 std::span<const std::uint8_t> head,
                                                 const SettingsStore& settings);

}  // namespace quarnel
