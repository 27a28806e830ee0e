// build_gop_list: one sequential pass over the whole stream that counts every picture.

#include <new>
#include <utility>

#include "video/gop_list.h"
#include "video/header_codes.h"
#include "video/picture_header.h"
#include "video/sequence_header.h"
#include "video/video_bit_reader.h"

namespace quarnel {
namespace {

// Consumes the start codes of the stream one by one and keeps the entries found so far.
// Until the first I picture there is no entry; from then on the last entry is the current
// one, and the frames counted since its I picture wait in pending_.
class GopListBuilder {
  public:
    GopListBuilder(VideoBitReader& reader, const FrameCounting& counting)
        : reader_(reader), counting_(counting) {}

    // Handles the start code under the reader; false, with failure() saying why, when the build
    // must fail.
    bool on_start_code(std::uint32_t code) {
        last_code_ = code;
        switch (code) {
            case sequence_header_code:
                return on_sequence_header();
            case group_start_code:
                on_group();
                return true;
            case picture_start_code:
                return on_picture();
            default:
                reader_.skip_bits(32);
                return true;
        }
    }

    OpenFailure failure() const { return failure_; }

    std::optional<GopList> finish() {
        if (entries_.empty()) return std::nullopt;  // no I picture: nothing can be decoded
        GopList list;
        list.total_frames =
            close_last_entry(current(), pending_, last_code_ == sequence_end_code);
        close_previous_entry();
        list.stream_size = reader_.stream_size();
        // Frames shown before the first entry's I picture are decoded from it as well.
        GopEntry& first = entries_.front();
        first.frame_count += first.first_frame;
        first.first_frame = 0;
        list.entries = std::move(entries_);
        list.sequence_headers = std::move(sequences_);
        return list;
    }

  private:
    bool on_sequence_header() {
        reader_.skip_bits(32);
        parse_sequence_header(reader_, sequence_);
        // Before the first entry only the header in force at its I picture matters; after
        // it, a repeated header adds a record only when something in it changed.
        if (entries_.empty()) {
            sequences_.clear();
            sequences_.push_back(sequence_);
        } else if (sequence_ != sequences_.back()) {
            sequences_.push_back(sequence_);
            if (!fits()) return refuse(OpenFailure::gop_list_too_large);
        }
        return true;
    }

    void on_group() {
        group_position_ = reader_.start_code_position();
        reader_.skip_bits(32 + 25);  // start code and time_code
        closed_ = reader_.get_bits(1) == 1;
        const bool broken_link = reader_.get_bits(1) == 1;
        // The leading B pictures of a broken link cannot be decoded (ISO/IEC 13818-2,
        // 6.3.8); in a closed GOP they need nothing before the I picture.
        skip_leading_ = broken_link && !closed_;
    }

    bool on_picture() {
        const std::int64_t position = reader_.start_code_position();
        reader_.skip_bits(32);
        // A recording cut inside a GOP starts with pictures that nothing before them describes.
        if (sequences_.empty()) {
            group_position_ = -1;
            closed_ = false;
            return true;
        }
        parse_picture_header(reader_, picture_, counting_.progressive_sequence);
        const std::optional<int> frames = picture_frames(reader_, picture_, counting_);
        if (!frames) return refuse(OpenFailure::bad_picture);
        if (*frames == 0) return true;  // cut off by the end of the stream
        const std::int64_t entry_position = group_position_ != -1 ? group_position_ : position;
        const std::int32_t type = picture_.picture_coding_type;
        group_position_ = -1;

        if (entries_.empty()) {
            if (type == picture_type_i) {
                if (!add_entry(entry_position, 0, *frames)) return false;
                // The leading B pictures of an open first GOP refer to pictures before the
                // stream and are not counted.
                skip_leading_ = !closed_;
            } else {
                closed_ = false;
            }
            return true;
        }
        switch (type) {
            case picture_type_i:
                if (in_leading_) close_previous_entry();
                return add_entry(entry_position, current().first_frame + pending_, *frames);
            case picture_type_p:
                if (in_leading_) close_previous_entry();
                pending_ += *frames;
                skip_leading_ = false;
                in_leading_ = false;
                return true;
            case picture_type_b:
                // A B picture right after an I picture is shown before it: with an open GOP it
                // belongs to the entry before, whose decoding yields it.
                if (!in_leading_ || (closed_ && !skip_leading_))
                    pending_ += *frames;
                else if (!skip_leading_)
                    current().first_frame += *frames;
                return true;
            default:
                // not a picture type this counting knows (ISO/IEC 13818-2, Table 6-12)
                return refuse(OpenFailure::bad_picture);
        }
    }

    bool add_entry(std::int64_t position, std::int64_t first_frame, int frames) {
        if (!gop_list_fits(entries_.size() + 1, sequences_.size(), sequences_.distinct_count()))
            return refuse(OpenFailure::gop_list_too_large);
        const auto sequence = static_cast<std::int32_t>(sequences_.size() - 1);
        entries_.push_back({position, first_frame, 0, sequence});
        pending_ = frames;
        in_leading_ = true;
        return true;
    }

    bool refuse(OpenFailure why) {
        failure_ = why;
        return false;
    }

    // The entry before the current one ends where the current one's frames begin.
    void close_previous_entry() {
        if (entries_.size() < 2) return;
        GopEntry& previous = entries_[entries_.size() - 2];
        previous.frame_count = current().first_frame - previous.first_frame;
    }

    GopEntry& current() { return entries_.back(); }
    bool fits() const {
        return gop_list_fits(entries_.size(), sequences_.size(), sequences_.distinct_count());
    }

    VideoBitReader& reader_;
    const FrameCounting counting_;
    std::vector<GopEntry> entries_;
    SequenceHeaders sequences_;
    SequenceInfo sequence_{};  // fields a header does not code keep the previous header's values
    PictureInfo picture_{};
    std::int64_t pending_ = 0;
    std::int64_t group_position_ = -1;
    bool closed_ = false;
    bool skip_leading_ = false;
    bool in_leading_ = false;
    std::uint32_t last_code_ = 0;
    OpenFailure failure_ = OpenFailure::none;
};

}  // namespace

std::optional<GopList> build_gop_list(VideoBitReader& reader, const FrameCounting& counting,
                                      const ProgressFactory& progress_factory,
                                      OpenFailure* failure) try {
    const auto fail = [failure](OpenFailure why) -> std::optional<GopList> {
        if (failure) *failure = why;
        return std::nullopt;
    };
    // Destroying the display closes it, on every way out of here.
    const std::unique_ptr<ProgressDialog> progress =
        progress_factory ? progress_factory() : nullptr;
    reader.bit_reader_seek(0, SeekOrigin::begin);
    GopListBuilder builder(reader, counting);
    while (reader.next_start_code()) {
        if (progress) {
            const int percent =
                progress_percent(reader.start_code_position(), reader.stream_size());
            if (progress->progress_cancelled() || !progress->progress_update(percent))
                return fail(OpenFailure::cancelled);
        }
        if (!builder.on_start_code(reader.peek_bits(32))) return fail(builder.failure());
    }
    auto list = builder.finish();
    if (!list) return fail(OpenFailure::no_i_picture);
    return list;
} catch (const std::bad_alloc&) {
    // Memory ran out before the list reached its bound.
    if (failure) *failure = OpenFailure::gop_list_too_large;
    return std::nullopt;
}

}  // namespace quarnel
