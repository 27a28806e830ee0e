// quarnel-bench-repeat CLIP SIZE OUT: writes the video elementary stream CLIP over and over
// until OUT holds at least SIZE bytes, then a sequence end code. Every repetition continues
// the GOP time codes where the one before stopped, so that OUT reads as one long recording
// whose time codes can be trusted.
//
// CLIP must start its pictures with a sequence header and use a whole frame rate (24, 25,
// 30, 50 or 60 frames/s) without drop-frame time codes.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "base/start_code.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint8_t picture_code = 0x00;
constexpr std::uint8_t sequence_header_code = 0xB3;
constexpr std::uint8_t sequence_end_code = 0xB7;
constexpr std::uint8_t group_code = 0xB8;

// Frames per second of a frame_rate_code with a whole rate (ISO/IEC 13818-2, table 6-4).
std::optional<int> whole_frame_rate(int frame_rate_code) {
    switch (frame_rate_code) {
        case 2:
            return 24;
        case 3:
            return 25;
        case 5:
            return 30;
        case 6:
            return 50;
        case 8:
            return 60;
        default:
            return std::nullopt;
    }
}

std::uint32_t read_be32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void write_be32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
}

// The 25-bit time_code at the top of `word` (the 32 bits after a GOP start code) as a frame
// number, and back (ISO/IEC 13818-2, 6.3.8).
std::int64_t time_code_frames(std::uint32_t word, int fps) {
    const std::int64_t hours = (word >> 26) & 0x1F, minutes = (word >> 20) & 0x3F;
    const std::int64_t seconds = (word >> 13) & 0x3F, pictures = (word >> 7) & 0x3F;
    return ((hours * 60 + minutes) * 60 + seconds) * fps + pictures;
}

std::uint32_t with_time_code(std::uint32_t word, std::int64_t frames, int fps) {
    const auto pictures = static_cast<std::uint32_t>(frames % fps);
    const auto seconds = static_cast<std::uint32_t>(frames / fps % 60);
    const auto minutes = static_cast<std::uint32_t>(frames / fps / 60 % 60);
    const auto hours = static_cast<std::uint32_t>(frames / fps / 3600 % 24);
    const std::uint32_t marker = 1u << 19;
    return (hours << 26) | (minutes << 20) | marker | (seconds << 13) | (pictures << 7) |
           (word & 0x7F);  // closed_gop, broken_link and the padding bits stay
}

[[noreturn]] void fail(const std::string& message) {
    std::cerr << "quarnel-bench-repeat: " << message << '\n';
    std::exit(1);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) fail("usage: quarnel-bench-repeat CLIP SIZE OUT");
    std::ifstream in(argv[1], std::ios::binary);
    Bytes clip{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::int64_t wanted = std::strtoll(argv[2], nullptr, 10);

    // The repeated body runs from the first sequence header up to a final sequence end code.
    const std::uint8_t* const begin = clip.data();
    const std::uint8_t* const end = begin + clip.size();
    std::vector<std::size_t> groups;  // offsets in the body of the GOP headers' time codes
    std::int64_t pictures = 0;
    const std::uint8_t* body = nullptr;
    const std::uint8_t* body_end = end;
    int fps = 0;
    for (const std::uint8_t* p = begin; (p = quarnel::find_start_code(p, end)) != nullptr; p += 3) {
        if (p + 8 > end) break;
        if (p[3] == sequence_header_code && body == nullptr) {
            body = p;
            const auto rate = whole_frame_rate(p[7] & 0x0F);
            if (!rate) fail("the clip's frame rate is not a whole number of frames per second");
            fps = *rate;
        }
        if (body == nullptr) continue;
        if (p[3] == picture_code) ++pictures;
        if (p[3] == group_code) groups.push_back(static_cast<std::size_t>(p + 4 - body));
        if (p[3] == sequence_end_code) body_end = p;
    }
    if (body == nullptr || pictures == 0) fail("the clip holds no sequence header or picture");

    Bytes unit(body, body_end);
    std::ofstream out(argv[3], std::ios::binary);
    std::int64_t written = 0;
    for (std::int64_t round = 0; written < wanted; ++round) {
        for (const std::size_t at : groups) {
            std::uint8_t* const code = unit.data() + at;
            const std::uint32_t original = read_be32(body + at);
            const std::int64_t frames = time_code_frames(original, fps) + round * pictures;
            write_be32(code, with_time_code(original, frames, fps));
        }
        out.write(reinterpret_cast<const char*>(unit.data()),
                  static_cast<std::streamsize>(unit.size()));
        written += static_cast<std::int64_t>(unit.size());
    }
    const std::uint8_t end_code[] = {0x00, 0x00, 0x01, sequence_end_code};
    out.write(reinterpret_cast<const char*>(end_code), sizeof end_code);
    if (!out) fail(std::string("cannot write ") + argv[3]);
    return 0;
}
