#pragma once
// The PES packets of one program of a transport stream, its video and its MPEG audio
// streams, assembled whole and delivered in file order. Where the program's map changes its
// streams, or a new program association drops the program (as where two recordings were
// joined), the streams of the new map take their places.

#include <cstdint>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "input/file_set.h"
#include "input/pes_packet.h"
#include "input/ts_program_follower.h"
#include "input/ts_packet_window.h"
#include "input/ts_tables.h"

namespace quarnel {

class TsProgramPackets {
  public:
    // Names of the program's streams that stay the same when its map changes.
    static constexpr int video_stream = 0xE0;
    static constexpr int first_audio_stream = 0xC0;  // the n-th MPEG audio stream is this + n
    static constexpr int max_audio_streams = 32;

    // Opens the program of the file set at `path` whose video a transport stream's video is
    // read from; nullptr when it is no transport stream or no program map within the "limit"
    // setting's bytes names MPEG video or audio.
    static std::unique_ptr<TsProgramPackets> open(const std::string& path,
                                                  const SettingsStore& settings);

    const FileSetOps& file_set() const { return window_->file_set(); }

    // Moves to the transport packet that holds byte `position`; the program there is the one
    // of the nearest map before it. Reads then end before packets that begin at or after `end`.
    void seek(std::int64_t position, std::int64_t end = std::numeric_limits<std::int64_t>::max());
    // The position of the next transport packet to look at.
    std::int64_t tell() const { return window_->packet_position(); }

    struct Found {
        std::int64_t start = 0;  // position of the transport packet that began the packet
        int stream = 0;          // video_stream, or first_audio_stream + n
    };
    // The next PES packet of a stream of the program, whole (a packet of open length ends at
    // the next packet start of its PID or at the end of the data); false at the end of the data.
    bool next(PesPacket& packet, Found& found);

    // From now on only packets of `stream` are assembled and delivered.
    void keep_only(int stream) { only_stream_ = stream; }

    // The last packet of `stream` that begins before `before` and not before `begin`, read
    // whole into `packet`; nothing when there is none.
    std::optional<std::int64_t> previous(int stream, std::int64_t begin, std::int64_t before,
                                         PesPacket& packet);

  private:
    struct Assembly {
        PesPacket packet;
        std::int64_t start = 0;
        bool started = false;
    };

    TsProgramPackets(std::unique_ptr<TsPacketWindow> window, TsProgramFollower follower);

    // The PID that carries `stream` now; 0 for none.
    int pid_of(int stream) const;
    // The stream that `pid` carries now; -1 for none.
    int stream_of(int pid) const;
    // Starts over with the program the follower names: no packet is being assembled.
    void restart_assemblies();
    // Assembles the PES packet of `pid` that starts in the current transport packet, alone;
    // false when it is cut short or the next packet of the PID starts first.
    bool assemble_from_here(int pid, PesPacket& packet);
    // Moves to the transport packet at `position` with the program in force there.
    void move_to(std::int64_t position);

    std::unique_ptr<TsPacketWindow> window_;
    TsProgramFollower follower_;
    std::vector<Assembly> assemblies_;  // by stream: video first, then audio in order
    int only_stream_ = -1;              // the one stream delivered; -1 for all
    std::int64_t end_ = std::numeric_limits<std::int64_t>::max();  // no packet starts from here
};

}  // namespace quarnel
