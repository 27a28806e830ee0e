#include "mtv/mtv_header.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "mtv/temp_dir.h"

namespace quarnel {
namespace {

using testing::read_all;
using testing::TempDir;
using testing::write_all;
using Bytes = std::vector<std::uint8_t>;

// The default record as capture software expects it; rows not listed are zero.
Bytes reference_default_record() {
    const std::vector<std::pair<std::size_t, Bytes>> rows = {
        {0,
         {0xF0, 0xF0, 0xF0, 0xF0, 0xF8, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x38, 0x02, 0x00,
          0x00}},
        {16,
         {0x43, 0x61, 0x6E, 0x6F, 0x70, 0x75, 0x73, 0x20, 0x4D, 0x54, 0x56, 0x31, 0x30, 0x30, 0x30,
          0x00}},
        {304,
         {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD2, 0x07, 0x0C, 0x13, 0x12, 0x1E, 0x00,
          0x00}},
        {320, {0x00, 0x00, 0x07, 0x00}},
        {512,
         {0x00, 0x00, 0x01, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
          0x00}},
        {528,
         {0xA0, 0x2E, 0x63, 0x00, 0x00, 0x00, 0x02, 0x00, 0x0C, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00,
          0x01}},
        {544,
         {0x08, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x04, 0x00, 0x08, 0x00, 0x00,
          0x00}},
    };
    Bytes record(MtvHeader::size, 0);
    for (const auto& [at, bytes] : rows) std::copy(bytes.begin(), bytes.end(), record.begin() + at);
    return record;
}

Bytes bytes_of(const MtvHeader& h) {
    return {h.bytes().begin(), h.bytes().end()};
}

// Offsets whose bytes differ between two records.
std::vector<std::size_t> changed_offsets(const MtvHeader& a, const MtvHeader& b) {
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < MtvHeader::size; ++i)
        if (a.bytes()[i] != b.bytes()[i]) changed.push_back(i);
    return changed;
}

TEST(MtvHeaderRecord, DefaultRecordIsByteForByteTheReferenceAndIsWrittenAsIs) {
    const MtvHeader header;
    EXPECT_EQ(bytes_of(header), reference_default_record());

    TempDir dir;
    ASSERT_TRUE(header.WriteTo(dir.file("default.mtv")));
    EXPECT_EQ(read_all(dir.file("default.mtv")), reference_default_record());
}

TEST(MtvHeaderRecord, EachSetterChangesOnlyItsOwnBytes) {
    const MtvHeader original;
    struct Case {
        void (*set)(MtvHeader&);
        std::vector<std::size_t> offsets;
    };
    const std::vector<Case> cases = {
        {[](MtvHeader& h) { h.SetVideoSystem(1); }, {521}},
        {[](MtvHeader& h) { h.SetAspectIndex(1); }, {522}},
        {[](MtvHeader& h) { h.SetResolutionIndex(5); }, {526}},
        {[](MtvHeader& h) { h.SetRateControl(1); }, {527}},
        {[](MtvHeader& h) { h.SetAudioBitRateIndex(15); }, {544}},
        {[](MtvHeader& h) { h.SetSamplingIndex(2); }, {548}},
        {[](MtvHeader& h) { h.SetVideoBitRate(-1); }, {528, 529, 530, 531}},
        {[](MtvHeader& h) { h.SetFileSize(0x0102030405060708); },
         {304, 305, 306, 307, 308, 309, 310, 311}},
    };
    for (const auto& c : cases) {
        MtvHeader h;
        c.set(h);
        EXPECT_EQ(changed_offsets(original, h), c.offsets);
    }
}

TEST(MtvHeaderRecord, ByteSettersKeepTheLowEightBitsUnchecked) {
    MtvHeader h;
    h.SetResolutionIndex(-1);  // a list without a selection
    h.SetSamplingIndex(0x1FE);
    EXPECT_EQ(h.GetResolutionIndex(), 255);
    EXPECT_EQ(h.GetSamplingIndex(), 0xFE);
    h.SetVideoBitRate(-123456);
    EXPECT_EQ(h.GetVideoBitRate(), -123456);
}

TEST(MtvHeaderRecord, SizeAbove4GiBKeepsItsHighHalfAt308) {
    MtvHeader h;
    h.SetFileSize(0x1'2345'6789ull);
    EXPECT_EQ(h.bytes()[304], 0x89);
    EXPECT_EQ(h.bytes()[307], 0x23);
    EXPECT_EQ(h.bytes()[308], 0x01);
    EXPECT_EQ(h.GetFileSize(), 0x1'2345'6789ull);
}

TEST(MtvHeaderRecord, Ac3CodingMarksTheFollowingByteAndOtherCodingsClearIt) {
    MtvHeader h;
    h.SetAudioCoding(0);
    EXPECT_EQ(h.bytes()[540], 0);
    EXPECT_EQ(h.bytes()[542], 3);
    h.SetAudioCoding(2);
    EXPECT_EQ(h.bytes()[540], 2);
    EXPECT_EQ(h.bytes()[542], 0);
    EXPECT_EQ(h.GetAudioCoding(), 2);
}

TEST(MtvHeaderFileName, LongestNameEndsAt302AndKeepsItsZeroAt303) {
    MtvHeader h;
    const std::string longest(255, 'n');
    ASSERT_TRUE(h.SetFileName(longest));
    EXPECT_EQ(h.bytes()[302], 'n');
    EXPECT_EQ(h.bytes()[303], 0);
    EXPECT_EQ(h.GetFileName(), longest);
}

TEST(MtvHeaderFileName, NameThatCannotKeepItsZeroIsRefusedAndNothingChanges) {
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("kept.m2p"));
    const MtvHeader before = h;
    EXPECT_FALSE(h.SetFileName(std::string(256, 'x')));
    EXPECT_EQ(bytes_of(h), bytes_of(before));
}

TEST(MtvHeaderFileName, ShorterNameLeavesNoTraceOfALongerOne) {
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("a much longer name.m2p"));
    ASSERT_TRUE(h.SetFileName("b.mpg"));
    EXPECT_EQ(h.GetFileName(), "b.mpg");
    for (std::size_t i = 48 + 5; i < 304; ++i) ASSERT_EQ(h.bytes()[i], 0) << "offset " << i;
}

TEST(MtvHeaderFileName, NameBytesAreStoredWithoutConversionUpToAnInnerZero) {
    MtvHeader h;
    const std::string shift_jis = "\x83\x65\x83\x58\x83\x67.mpg";  // code page 932 text
    ASSERT_TRUE(h.SetFileName(shift_jis));
    EXPECT_EQ(h.GetFileName(), shift_jis);
    ASSERT_TRUE(h.SetFileName(std::string_view("cut\0after", 9)));
    EXPECT_EQ(h.GetFileName(), "cut");
}

struct CarryCase {
    CalendarTime utc;
    CalendarTime stored;
};

TEST(MtvHeaderCreationTime, StoresNineHoursAheadWithCalendarCarry) {
    const std::vector<CarryCase> cases = {
        {{2004, 12, 31, 20, 15, 7}, {2005, 1, 1, 5, 15, 7}},     // into the next year
        {{2004, 2, 28, 16, 0, 0}, {2004, 2, 29, 1, 0, 0}},       // leap year
        {{2003, 2, 28, 16, 0, 0}, {2003, 3, 1, 1, 0, 0}},        // common year
        {{1900, 2, 28, 23, 59, 59}, {1900, 3, 1, 8, 59, 59}},    // century, not leap
        {{2000, 2, 28, 15, 0, 0}, {2000, 2, 29, 0, 0, 0}},       // 400th year, leap
        {{2010, 4, 30, 14, 59, 59}, {2010, 4, 30, 23, 59, 59}},  // same day
        {{2010, 4, 30, 15, 0, 0}, {2010, 5, 1, 0, 0, 0}},        // 30-day month
    };
    for (const auto& c : cases) {
        MtvHeader h;
        h.SetCreationTime(c.utc);
        const CalendarTime got{h.GetCreateYear(), h.GetCreateMonth(),  h.GetCreateDay(),
                               h.GetCreateHour(), h.GetCreateMinute(), h.GetCreateSecond()};
        EXPECT_EQ(std::tie(got.year, got.month, got.day, got.hour, got.minute, got.second),
                  std::tie(c.stored.year, c.stored.month, c.stored.day, c.stored.hour,
                           c.stored.minute, c.stored.second))
            << "from " << c.utc.year << "-" << c.utc.month << "-" << c.utc.day << " " << c.utc.hour;
        EXPECT_EQ(h.bytes()[319], 0);
    }
}

TEST(MtvHeaderWriting, ReplacesALongerFileWithExactlyTheRecord) {
    TempDir dir;
    const std::string path = dir.file("old.mtv");
    write_all(path, Bytes(4096, 0x55));
    MtvHeader h;
    h.SetVideoSystem(1);
    ASSERT_TRUE(h.WriteTo(path));
    EXPECT_EQ(read_all(path), bytes_of(h));
}

TEST(MtvHeaderWriting, ReportsFailureWhenTheFileCannotBeCreatedOrFilled) {
    const MtvHeader h;
    TempDir dir;
    EXPECT_FALSE(h.WriteTo(dir.file("missing/dir/x.mtv")));
    EXPECT_FALSE(h.WriteTo(dir.file("")));  // the directory itself
    EXPECT_FALSE(h.WriteTo("/dev/full"));   // opens, but no byte fits
}

TEST(MtvHeaderLoading, ReadsBackWhatWasWritten) {
    TempDir dir;
    MtvHeader h;
    ASSERT_TRUE(h.SetFileName("clip.m2p"));
    h.SetFileSize(5'000'000'000);
    h.SetAudioCoding(0);
    ASSERT_TRUE(h.WriteTo(dir.file("clip.mtv")));

    const HeaderLoad load = load_mtv_header(dir.file("clip.mtv"));
    ASSERT_EQ(load.status, HeaderLoadStatus::ok);
    ASSERT_TRUE(load.header);
    EXPECT_EQ(bytes_of(*load.header), bytes_of(h));
}

TEST(MtvHeaderLoading, RefusesFilesThatAreNotExactlyOneRecord) {
    TempDir dir;
    Bytes record = reference_default_record();
    const auto status_of = [&](const Bytes& content) {
        write_all(dir.file("x.mtv"), content);
        return load_mtv_header(dir.file("x.mtv")).status;
    };
    EXPECT_EQ(status_of(Bytes(record.begin(), record.end() - 1)), HeaderLoadStatus::wrong_size);
    Bytes longer = record;
    longer.push_back(0);
    EXPECT_EQ(status_of(longer), HeaderLoadStatus::wrong_size);
    EXPECT_EQ(status_of({}), HeaderLoadStatus::wrong_size);
    record[3] = 0xF1;
    EXPECT_EQ(status_of(record), HeaderLoadStatus::no_magic);
    EXPECT_EQ(load_mtv_header(dir.file("absent.mtv")).status, HeaderLoadStatus::cannot_open);
    EXPECT_FALSE(load_mtv_header(dir.file("absent.mtv")).header);
}

TEST(MtvHeaderLoading, NameFieldWithoutItsZeroReadsNoFurtherThanTheField) {
    TempDir dir;
    Bytes record = reference_default_record();
    std::fill(record.begin() + 48, record.begin() + 304, std::uint8_t{'z'});
    write_all(dir.file("x.mtv"), record);
    const HeaderLoad load = load_mtv_header(dir.file("x.mtv"));
    ASSERT_TRUE(load.header);
    EXPECT_EQ(load.header->GetFileName(), std::string(256, 'z'));
}

}  // namespace
}  // namespace quarnel
