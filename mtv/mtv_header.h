#pragma once
// The MTV header: the whole content of a .mtv file, one 568-byte little-endian record that
// names an MPEG file and describes it for capture-card software. The record is held exactly
// as it is written; every accessor reads or writes its bytes in place.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace quarnel {

// A calendar time, as read from a file's time stamp or stored in the header.
struct CalendarTime {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class MtvHeader {
  public:
    static constexpr std::size_t size = 568;
    // Longest file name that fits with its terminating zero.
    static constexpr std::size_t max_file_name_length = 255;

    using Bytes = std::array<std::uint8_t, size>;

    // The default record: no file, size 0, 2002-12-19 18:30:00, NTSC 720x480, CBR,
    // 6500000 bit/s, 4:3, not AC-3, 224 kbit/s, 48000 Hz.
    MtvHeader();

    // A record read from a file; nothing when it lacks the magic bytes F0 F0 F0 F0.
    static std::optional<MtvHeader> from_bytes(std::span<const std::uint8_t, size> bytes);

    const Bytes& bytes() const { return bytes_; }

    void SetFileSize(std::uint64_t size_in_bytes);
    std::uint64_t GetFileSize() const;

    // Stores `name` (bytes as given, no conversion) zero-padded to 256 bytes. A name longer
    // than max_file_name_length does not fit and is refused: returns false, nothing changes.
    // A zero byte inside `name` ends it.
    bool SetFileName(std::string_view name);
    std::string GetFileName() const;

    // Stores the given UTC time as local time of UTC+9, carrying into day, month and year.
    void SetCreationTime(const CalendarTime& utc);
    int GetCreateYear() const;
    int GetCreateMonth() const;
    int GetCreateDay() const;
    int GetCreateHour() const;
    int GetCreateMinute() const;
    int GetCreateSecond() const;

    // One-byte fields; a setter stores the low 8 bits of its argument, unchecked (the dialog
    // stores 255 for a list without a selection).
    std::uint8_t GetVideoSystem() const;  // 0 NTSC, 1 PAL
    void SetVideoSystem(int value);
    std::uint8_t GetAspectIndex() const;
    void SetAspectIndex(int value);
    std::uint8_t GetResolutionIndex() const;
    void SetResolutionIndex(int value);
    std::uint8_t GetRateControl() const;  // 0 CBR, 1 VBR
    void SetRateControl(int value);
    std::uint8_t GetAudioBitRateIndex() const;
    void SetAudioBitRateIndex(int value);
    std::uint8_t GetSamplingIndex() const;
    void SetSamplingIndex(int value);

    std::int32_t GetVideoBitRate() const;  // bit/s
    void SetVideoBitRate(std::int32_t bits_per_second);

    // 0 is AC-3, 2 is not; AC-3 also marks the byte that follows the coding with 3.
    std::uint8_t GetAudioCoding() const;
    void SetAudioCoding(int value);

    // Creates or truncates `path` and writes the record. True only when all 568 bytes
    // reached the file; a failed write leaves whatever the file system kept.
    bool WriteTo(const std::string& path) const;

  private:
    explicit MtvHeader(const Bytes& bytes) : bytes_(bytes) {}

    Bytes bytes_{};
};

static_assert(sizeof(MtvHeader) == MtvHeader::size);

enum class HeaderLoadStatus { ok, cannot_open, wrong_size, no_magic };

struct HeaderLoad {
    HeaderLoadStatus status = HeaderLoadStatus::cannot_open;
    std::optional<MtvHeader> header;  // set when status is ok
};

// Reads an existing .mtv file, which must hold exactly one record and nothing else.
HeaderLoad load_mtv_header(const std::string& path);

}  // namespace quarnel
