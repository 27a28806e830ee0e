#include "mtv/mtv_header.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/regular_file.h"

namespace quarnel {
namespace {

// Field offsets of the record.
constexpr std::size_t magic_at = 0;
constexpr std::size_t file_name_at = 48;
constexpr std::size_t file_name_width = 256;
constexpr std::size_t file_size_at = 304;
constexpr std::size_t create_year_at = 312;
constexpr std::size_t create_month_at = 314;
constexpr std::size_t create_day_at = 315;
constexpr std::size_t create_hour_at = 316;
constexpr std::size_t create_minute_at = 317;
constexpr std::size_t create_second_at = 318;
constexpr std::size_t video_system_at = 521;
constexpr std::size_t aspect_index_at = 522;
constexpr std::size_t resolution_index_at = 526;
constexpr std::size_t rate_control_at = 527;
constexpr std::size_t video_bit_rate_at = 528;
constexpr std::size_t audio_coding_at = 540;
constexpr std::size_t audio_coding_aux_at = 542;
constexpr std::size_t audio_bit_rate_index_at = 544;
constexpr std::size_t sampling_index_at = 548;

constexpr std::uint8_t audio_coding_ac3 = 0;
constexpr std::uint8_t audio_coding_aux_ac3 = 3;

constexpr std::uint32_t magic = 0xF0F0F0F0;

void put_u8(MtvHeader::Bytes& b, std::size_t at, int value) {
    b[at] = static_cast<std::uint8_t>(value);
}

void put_u16(MtvHeader::Bytes& b, std::size_t at, std::uint32_t value) {
    b[at] = static_cast<std::uint8_t>(value);
    b[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void put_u32(MtvHeader::Bytes& b, std::size_t at, std::uint32_t value) {
    put_u16(b, at, value & 0xFFFF);
    put_u16(b, at + 2, value >> 16);
}

std::uint32_t get_u16(const MtvHeader::Bytes& b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t get_u32(const MtvHeader::Bytes& b, std::size_t at) {
    return get_u16(b, at) | get_u16(b, at + 2) << 16;
}

MtvHeader::Bytes default_record() {
    MtvHeader::Bytes b{};
    put_u32(b, magic_at, magic);
    put_u32(b, 4, 504);
    put_u32(b, 8, 0x00010000);
    put_u32(b, 12, MtvHeader::size);
    constexpr char maker[] = "Canopus MTV1000";  // with its zero, fills 16 bytes
    std::memcpy(&b[16], maker, sizeof maker);
    put_u16(b, create_year_at, 2002);
    put_u8(b, create_month_at, 12);
    put_u8(b, create_day_at, 19);
    put_u8(b, create_hour_at, 18);
    put_u8(b, create_minute_at, 30);
    put_u32(b, 320, 0x00070000);

    // Video block: tag, length of 12, then the video fields.
    put_u32(b, 512, 0x00010000);
    put_u32(b, 516, 12);
    put_u8(b, 520, 1);
    put_u32(b, video_bit_rate_at, 6500000);

    // Audio block.
    put_u32(b, 532, 0x00020000);
    put_u32(b, 536, 12);
    put_u8(b, audio_coding_at, 2);
    put_u8(b, 543, 1);
    put_u8(b, audio_bit_rate_index_at, 8);
    put_u8(b, 549, 1);

    // Third block: tag and length of 8; its data is zero.
    put_u32(b, 552, 0x00040000);
    put_u32(b, 556, 8);
    return b;
}

bool is_leap_year(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int days_in_month(int year, int month) {
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    return month == 2 && is_leap_year(year) ? 29 : days[month - 1];
}

}  // namespace

MtvHeader::MtvHeader() : bytes_(default_record()) {}

std::optional<MtvHeader> MtvHeader::from_bytes(std::span<const std::uint8_t, size> bytes) {
    Bytes copy;
    std::copy(bytes.begin(), bytes.end(), copy.begin());
    if (get_u32(copy, magic_at) != magic) return std::nullopt;
    return MtvHeader(copy);
}

void MtvHeader::SetFileSize(std::uint64_t size_in_bytes) {
    put_u32(bytes_, file_size_at, static_cast<std::uint32_t>(size_in_bytes));
    put_u32(bytes_, file_size_at + 4, static_cast<std::uint32_t>(size_in_bytes >> 32));
}

std::uint64_t MtvHeader::GetFileSize() const {
    return get_u32(bytes_, file_size_at) |
           static_cast<std::uint64_t>(get_u32(bytes_, file_size_at + 4)) << 32;
}

bool MtvHeader::SetFileName(std::string_view name) {
    name = name.substr(0, name.find('\0'));
    if (name.size() > max_file_name_length) return false;
    auto field = bytes_.begin() + file_name_at;
    std::fill(field, field + file_name_width, std::uint8_t{0});
    std::copy(name.begin(), name.end(), field);
    return true;
}

std::string MtvHeader::GetFileName() const {
    // A record read from a file may lack the terminating zero: never read past the field.
    const auto field = bytes_.begin() + file_name_at;
    return std::string(field, std::find(field, field + file_name_width, std::uint8_t{0}));
}

void MtvHeader::SetCreationTime(const CalendarTime& utc) {
    CalendarTime t = utc;
    t.hour += 9;
    for (; t.hour >= 24; t.hour -= 24) {
        if (++t.day <= days_in_month(t.year, t.month)) continue;
        t.day = 1;
        if (++t.month <= 12) continue;
        t.month = 1;
        ++t.year;
    }
    put_u16(bytes_, create_year_at, static_cast<std::uint32_t>(t.year) & 0xFFFF);
    put_u8(bytes_, create_month_at, t.month);
    put_u8(bytes_, create_day_at, t.day);
    put_u8(bytes_, create_hour_at, t.hour);
    put_u8(bytes_, create_minute_at, t.minute);
    put_u8(bytes_, create_second_at, t.second);
}

int MtvHeader::GetCreateYear() const {
    return static_cast<int>(get_u16(bytes_, create_year_at));
}
int MtvHeader::GetCreateMonth() const {
    return bytes_[create_month_at];
}
int MtvHeader::GetCreateDay() const {
    return bytes_[create_day_at];
}
int MtvHeader::GetCreateHour() const {
    return bytes_[create_hour_at];
}
int MtvHeader::GetCreateMinute() const {
    return bytes_[create_minute_at];
}
int MtvHeader::GetCreateSecond() const {
    return bytes_[create_second_at];
}

std::uint8_t MtvHeader::GetVideoSystem() const {
    return bytes_[video_system_at];
}
void MtvHeader::SetVideoSystem(int value) {
    put_u8(bytes_, video_system_at, value);
}
std::uint8_t MtvHeader::GetAspectIndex() const {
    return bytes_[aspect_index_at];
}
void MtvHeader::SetAspectIndex(int value) {
    put_u8(bytes_, aspect_index_at, value);
}
std::uint8_t MtvHeader::GetResolutionIndex() const {
    return bytes_[resolution_index_at];
}
void MtvHeader::SetResolutionIndex(int value) {
    put_u8(bytes_, resolution_index_at, value);
}
std::uint8_t MtvHeader::GetRateControl() const {
    return bytes_[rate_control_at];
}
void MtvHeader::SetRateControl(int value) {
    put_u8(bytes_, rate_control_at, value);
}
std::uint8_t MtvHeader::GetAudioBitRateIndex() const {
    return bytes_[audio_bit_rate_index_at];
}
void MtvHeader::SetAudioBitRateIndex(int value) {
    put_u8(bytes_, audio_bit_rate_index_at, value);
}
std::uint8_t MtvHeader::GetSamplingIndex() const {
    return bytes_[sampling_index_at];
}
void MtvHeader::SetSamplingIndex(int value) {
    put_u8(bytes_, sampling_index_at, value);
}

std::int32_t MtvHeader::GetVideoBitRate() const {
    return static_cast<std::int32_t>(get_u32(bytes_, video_bit_rate_at));
}

void MtvHeader::SetVideoBitRate(std::int32_t bits_per_second) {
    put_u32(bytes_, video_bit_rate_at, static_cast<std::uint32_t>(bits_per_second));
}

std::uint8_t MtvHeader::GetAudioCoding() const {
    return bytes_[audio_coding_at];
}

void MtvHeader::SetAudioCoding(int value) {
    put_u8(bytes_, audio_coding_at, value);
    const bool ac3 = static_cast<std::uint8_t>(value) == audio_coding_ac3;
    put_u8(bytes_, audio_coding_aux_at, ac3 ? audio_coding_aux_ac3 : 0);
}

bool MtvHeader::WriteTo(const std::string& path) const {
    std::FILE* f = open_stdio_file(path, "w+b").release();
    if (!f) return false;
    // The data may sit in the stream's buffer until the close, so a full disk can show up
    // only there: every step has to succeed.
    const bool written = std::fwrite(bytes_.data(), 1, size, f) == size;
    const bool flushed = std::fflush(f) == 0;
    const bool closed = std::fclose(f) == 0;
    return written && flushed && closed;
}

HeaderLoad load_mtv_header(const std::string& path) {
    const StdioFile f = open_regular_file_for_reading(path);
    if (!f) return {HeaderLoadStatus::cannot_open, std::nullopt};
    // One byte more than a record tells a longer file from an exact one.
    std::array<std::uint8_t, MtvHeader::size + 1> buffer{};
    const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), f.get());
    if (std::ferror(f.get())) return {HeaderLoadStatus::cannot_open, std::nullopt};
    if (got != MtvHeader::size) return {HeaderLoadStatus::wrong_size, std::nullopt};
    auto header = MtvHeader::from_bytes(
        std::span<const std::uint8_t, MtvHeader::size>(buffer.data(), MtvHeader::size));
    if (!header) return {HeaderLoadStatus::no_magic, std::nullopt};
    return {HeaderLoadStatus::ok, header};
}

}  // namespace quarnel
