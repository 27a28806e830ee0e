#include "video/gop_list_file.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <memory>

#include "base/regular_file.h"
#include "base/stdio_file.h"
#include "base/utf8_path.h"

namespace quarnel {
namespace {

// "GOP_LIST" and the format version "00000003", each padded with zeros to 16 bytes.
constexpr std::array<std::uint8_t, 32> file_header{
    'G', 'O', 'P', '_', 'L', 'I', 'S', 'T', 0, 0, 0, 0, 0, 0, 0, 0,
    '0', '0', '0', '0', '0', '0', '0', '3', 0, 0, 0, 0, 0, 0, 0, 0};
constexpr std::size_t counts_end = gop_list_file_counts_bytes;  // header, sizes, N, M
constexpr std::size_t entry_bytes = gop_list_file_entry_bytes;  // position, frames, index
constexpr std::size_t min_record_bytes = 56;                   // 14 words: no matrix
constexpr std::size_t max_record_bytes = gop_list_file_max_record_bytes;

using Word = std::int32_t SequenceInfo::*;

constexpr Word leading_words[] = {&SequenceInfo::horizontal_size,
                                  &SequenceInfo::vertical_size,
                                  &SequenceInfo::coded_width,
                                  &SequenceInfo::coded_height,
                                  &SequenceInfo::aspect_ratio_information,
                                  &SequenceInfo::frame_rate_code,
                                  &SequenceInfo::bit_rate,
                                  &SequenceInfo::vbv_buffer_size,
                                  &SequenceInfo::constrained_parameters_flag,
                                  &SequenceInfo::load_intra_quantiser_matrix};

constexpr Word sequence_extension_words[] = {&SequenceInfo::profile_and_level_indication,
                                             &SequenceInfo::progressive_sequence,
                                             &SequenceInfo::chroma_format,
                                             &SequenceInfo::low_delay,
                                             &SequenceInfo::frame_rate_extension_n,
                                             &SequenceInfo::frame_rate_extension_d};

constexpr Word display_extension_words[] = {
    &SequenceInfo::video_format,         &SequenceInfo::colour_description,
    &SequenceInfo::colour_primaries,     &SequenceInfo::transfer_characteristics,
    &SequenceInfo::matrix_coefficients,  &SequenceInfo::display_horizontal_size,
    &SequenceInfo::display_vertical_size};

constexpr Word scalable_extension_words[] = {&SequenceInfo::scalable_mode,
                                             &SequenceInfo::layer_id,
                                             &SequenceInfo::lower_layer_prediction_horizontal_size,
                                             &SequenceInfo::lower_layer_prediction_vertical_size,
                                             &SequenceInfo::horizontal_subsampling_factor_m,
                                             &SequenceInfo::horizontal_subsampling_factor_n,
                                             &SequenceInfo::vertical_subsampling_factor_m,
                                             &SequenceInfo::vertical_subsampling_factor_n,
                                             &SequenceInfo::picture_mux_enable,
                                             &SequenceInfo::mux_to_progressive_sequence,
                                             &SequenceInfo::picture_mux_order,
                                             &SequenceInfo::picture_mux_factor};

// The stored form of one SequenceInfo, walked the same way for writing (`Info` const) and
// reading: each flag is transferred before the group it announces.
template <class Info, class Codec>
void transfer_sequence_info(Info& info, Codec& codec) {
    const auto words = [&](const auto& group) {
        for (const Word word : group) codec.word(info.*word);
    };
    words(leading_words);
    if (info.load_intra_quantiser_matrix != 0) codec.matrix(info.intra_quantiser_matrix);
    codec.word(info.load_non_intra_quantiser_matrix);
    if (info.load_non_intra_quantiser_matrix != 0) codec.matrix(info.non_intra_quantiser_matrix);
    codec.word(info.sequence_extension_present);
    if (info.sequence_extension_present != 0) words(sequence_extension_words);
    codec.word(info.sequence_display_extension_present);
    if (info.sequence_display_extension_present != 0) words(display_extension_words);
    codec.word(info.sequence_scalable_extension_present);
    if (info.sequence_scalable_extension_present != 0) words(scalable_extension_words);
}

class Writer {
  public:
    void bytes(std::span<const std::uint8_t> b) { out_.insert(out_.end(), b.begin(), b.end()); }
    void u64(std::int64_t v) { put(static_cast<std::uint64_t>(v), 8); }
    void word(std::int32_t v) { put(static_cast<std::uint32_t>(v), 4); }
    // Matrix values are 8-bit fields; the low byte of each is stored.
    void matrix(const QuantiserMatrix& m) {
        for (const std::uint16_t v : m) out_.push_back(static_cast<std::uint8_t>(v));
    }
    std::vector<std::uint8_t> take() { return std::move(out_); }

  private:
    void put(std::uint64_t v, int size) {
        for (int i = 0; i < size; ++i) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    std::vector<std::uint8_t> out_;
};

// Reads fields in order; the first read past the end fails this and every later read.
class Reader {
  public:
    explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    std::size_t remaining() const { return bytes_.size() - at_; }

    bool take(std::span<const std::uint8_t> expected) {
        if (!need(expected.size())) return false;
        ok_ = std::equal(expected.begin(), expected.end(),
                         bytes_.begin() + static_cast<std::ptrdiff_t>(at_));
        at_ += expected.size();
        return ok_;
    }
    void u64(std::int64_t& v) { v = static_cast<std::int64_t>(get(8)); }
    void word(std::int32_t& v) {
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(get(4)));
    }
    void matrix(QuantiserMatrix& m) {
        if (!need(m.size())) return;
        for (auto& v : m) v = bytes_[at_++];
    }

  private:
    bool need(std::size_t n) {
        if (ok_ && remaining() < n) ok_ = false;
        return ok_;
    }
    std::uint64_t get(int size) {
        if (!need(static_cast<std::size_t>(size))) return 0;
        std::uint64_t v = 0;
        for (int i = 0; i < size; ++i) v |= std::uint64_t{bytes_[at_++]} << (8 * i);
        return v;
    }
    std::span<const std::uint8_t> bytes_;
    std::size_t at_ = 0;
    bool ok_ = true;
};

// What every list a scan builds satisfies, so that a list file which breaks it was not written
// from one: entries in stream order, from the first frame on, each taking up its frames where
// the one before it left off, and a total that ends with the last entry's frames. The total
// may fall up to two frames short of that: the last two frames of a stream without
// sequence_end_code are not counted, and the last entry's count never goes below zero.
// Positions are not held against the stream size: a transport stream that ends in a partial
// packet may report a size below the pictures it delivers.
bool consistent(const GopList& list) {
    const auto header_count = static_cast<std::int64_t>(list.sequence_headers.size());
    if (list.entries.empty() || header_count == 0) return false;
    std::int64_t position = 0;
    std::int64_t frames = 0;  // where the next entry's frames begin
    std::int32_t header = 0;
    for (const GopEntry& entry : list.entries) {
        if (entry.position < position || entry.first_frame != frames || entry.frame_count < 0 ||
            entry.frame_count > std::numeric_limits<std::int64_t>::max() - frames ||
            entry.sequence_header < header || entry.sequence_header >= header_count)
            return false;
        position = entry.position;
        frames += entry.frame_count;
        header = entry.sequence_header;
    }
    return list.total_frames >= 0 && list.total_frames <= frames && list.total_frames >= frames - 2;
}

// A name beside `path` that another writer of the same list is unlikely to pick at the
// same time.
std::string temporary_path(const std::string& path) {
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08x.tmp", static_cast<unsigned>(ticks));
    return path + suffix;
}

}  // namespace

std::string gop_list_file_path(const std::string& input_path) {
    const std::size_t name = input_path.find_last_of("/\\");
    const std::size_t dot = input_path.rfind('.');
    const bool has_extension =
        dot != std::string::npos && (name == std::string::npos || dot > name);
    return input_path.substr(0, has_extension ? dot : input_path.size()) + ".gl";
}

std::optional<std::vector<std::uint8_t>> encode_gop_list(const GopList& list) {
    if (!consistent(list)) return std::nullopt;
    Writer out;
    out.bytes(file_header);
    out.u64(list.stream_size);
    out.u64(list.total_frames);
    out.word(static_cast<std::int32_t>(list.entries.size()));
    out.word(static_cast<std::int32_t>(list.sequence_headers.size()));
    for (const GopEntry& entry : list.entries) {
        out.u64(entry.position);
        out.u64(entry.first_frame);
        out.u64(entry.frame_count);
        out.word(entry.sequence_header);
    }
    for (std::size_t i = 0; i < list.sequence_headers.size(); ++i)
        transfer_sequence_info(list.sequence_headers[i], out);
    return out.take();
}

std::optional<GopList> decode_gop_list(std::span<const std::uint8_t> bytes) {
    Reader in(bytes);
    if (!in.take(file_header)) return std::nullopt;
    GopList list;
    std::int32_t entry_count = 0;
    std::int32_t header_count = 0;
    in.u64(list.stream_size);
    in.u64(list.total_frames);
    in.word(entry_count);
    in.word(header_count);
    if (!in.ok() || entry_count <= 0 || header_count <= 0 ||
        !gop_list_fits(std::uint64_t(entry_count), std::uint64_t(header_count), 1))
        return std::nullopt;
    // The counts are claims: allocate only for what the bytes can actually hold.
    const std::uint64_t least =
        std::uint64_t(entry_count) * entry_bytes + std::uint64_t(header_count) * min_record_bytes;
    if (least > in.remaining()) return std::nullopt;

    list.entries.resize(static_cast<std::size_t>(entry_count));
    for (GopEntry& entry : list.entries) {
        in.u64(entry.position);
        in.u64(entry.first_frame);
        in.u64(entry.frame_count);
        in.word(entry.sequence_header);
    }
    for (std::int32_t i = 0; i < header_count && in.ok(); ++i) {
        SequenceInfo info{};
        transfer_sequence_info(info, in);
        list.sequence_headers.push_back(info);
        if (!gop_list_fits(list.entries.size(), list.sequence_headers.size(),
                           list.sequence_headers.distinct_count()))
            return std::nullopt;
    }
    if (!in.ok() || !consistent(list)) return std::nullopt;
    return list;
}

bool write_gop_list_file(const GopList& list, const std::string& path) {
    const auto bytes = encode_gop_list(list);
    if (!bytes) return false;
    const std::string temporary = temporary_path(path);
    StdioFile file = open_stdio_file(temporary, "wb");
    if (!file) return false;
    bool written = std::fwrite(bytes->data(), 1, bytes->size(), file.get()) == bytes->size();
    written = std::fclose(file.release()) == 0 && written;  // the last bytes land at close
    std::error_code error;
    if (written) std::filesystem::rename(path_from_utf8(temporary), path_from_utf8(path), error);
    if (!written || error) {
        std::filesystem::remove(path_from_utf8(temporary), error);
        return false;
    }
    return true;
}

std::optional<GopList> read_gop_list_file(const std::string& path) {
    StdioFile file = open_regular_file_for_reading(path);
    if (!file) return std::nullopt;
    std::array<std::uint8_t, counts_end> head{};
    if (std::fread(head.data(), 1, head.size(), file.get()) != head.size()) return std::nullopt;
    if (!std::equal(file_header.begin(), file_header.end(), head.begin())) return std::nullopt;

    // Read no more than the largest list these counts describe, and no more than the file holds.
    const auto count = [&](std::size_t at) {
        return std::uint64_t{head[at]} | std::uint64_t{head[at + 1]} << 8 |
               std::uint64_t{head[at + 2]} << 16 | std::uint64_t{head[at + 3]} << 24;
    };
    if (!gop_list_fits(count(48), count(52), 1)) return std::nullopt;
    std::error_code error;
    const std::uint64_t file_size = std::filesystem::file_size(path_from_utf8(path), error);
    if (error || file_size < counts_end) return std::nullopt;
    const std::uint64_t largest =
        counts_end + count(48) * entry_bytes + count(52) * max_record_bytes;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min(file_size, largest)));
    std::copy(head.begin(), head.end(), bytes.begin());
    const std::size_t rest = bytes.size() - counts_end;
    if (std::fread(bytes.data() + counts_end, 1, rest, file.get()) != rest) return std::nullopt;
    return decode_gop_list(bytes);
}

}  // namespace quarnel
