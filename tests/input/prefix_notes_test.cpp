// Notes of the prefixes a search passed must claim no byte whose prefixes they may lack: not
// those after the searched bytes, the delivered ones, or the first prefix that did not fit.

#include "input/prefix_notes.h"

#include <gtest/gtest.h>

#include <span>
#include <vector>

#include "tests/support/found_start_codes.h"

namespace quarnel {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::uint32_t> listed(const FoundStartCodes& found) {
    return {found.offsets.begin(), found.offsets.end()};
}

TEST(PrefixNotes, ClaimOnlyBytesWhosePrefixesWereAllNoted) {
    // Prefixes at 2, 6 and 9, the last one ending the bytes.
    const Bytes bytes{0x55, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01};
    const std::vector<std::size_t> prefixes{2, 6, 9};
    for (std::size_t searched = 0; searched <= bytes.size(); ++searched) {
        for (std::size_t delivered = 0; delivered <= bytes.size(); ++delivered) {
            PrefixNotes notes;
            for (const std::size_t p : prefixes)
                if (p < searched) notes.note(p);
            EXPECT_TRUE(test::lists_every_prefix(std::span(bytes).first(delivered),
                                                 notes.found(searched, delivered)))
                << "searched " << searched << ", delivered " << delivered;
        }
    }
}

TEST(PrefixNotes, EndBeforeThePrefixThatDidNotFit) {
    Bytes bytes;
    for (std::size_t i = 0; i < PrefixNotes::capacity + 4; ++i)
        bytes.insert(bytes.end(), {0x00, 0x00, 0x01, 0xB5});
    PrefixNotes notes;
    for (std::size_t p = 0; p < bytes.size(); p += 4) notes.note(p);
    const FoundStartCodes found = notes.found(bytes.size(), bytes.size());
    EXPECT_EQ(found.offsets.size(), PrefixNotes::capacity);
    EXPECT_TRUE(test::lists_every_prefix(bytes, found));

    notes.clear();
    notes.note(8);
    EXPECT_EQ(listed(notes.found(bytes.size(), bytes.size())), std::vector<std::uint32_t>{8});
}

}  // namespace
}  // namespace quarnel
