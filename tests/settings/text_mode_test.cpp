#include "settings/text_mode.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(TextModeTest, EncodeExpandsOnlyLineFeeds) {
    EXPECT_EQ(EncodeTextMode(Bytes{0x0A, 0x0D, 0x1A, 0x41, 0x0D, 0x0A}),
              (Bytes{0x0D, 0x0A, 0x0D, 0x1A, 0x41, 0x0D, 0x0D, 0x0A}));
    EXPECT_EQ(EncodeTextMode(Bytes{}), Bytes{});
}

TEST(TextModeTest, DecodeJoinsPairsKeepsLoneReturnsAndStopsAtEndOfFile) {
    // A pair reads as one line feed; a return before anything else stays, also
    // before another return and at the very end; a bare line feed stays too.
    EXPECT_EQ(DecodeTextMode(Bytes{0x0D, 0x0A, 0x0D, 0x41, 0x0D, 0x0D, 0x0A, 0x0A, 0x0D}, 100),
              (Bytes{0x0A, 0x0D, 0x41, 0x0D, 0x0A, 0x0A, 0x0D}));
    EXPECT_EQ(DecodeTextMode(Bytes{0x01, 0x02, 0x1A, 0x03, 0x0D, 0x0A}, 100), (Bytes{0x01, 0x02}));
    EXPECT_EQ(DecodeTextMode(Bytes{0x1A, 0x01}, 100), Bytes{});
    // 0x1A right after a return ends the data; the return stays.
    EXPECT_EQ(DecodeTextMode(Bytes{0x0D, 0x1A, 0x0A}, 100), Bytes{0x0D});
}

TEST(TextModeTest, DecodeLimitCountsDataBytesNotStoredOnes) {
    const Bytes stored{0x0D, 0x0A, 0x0D, 0x0A, 0x0D, 0x0A, 0x05};
    EXPECT_EQ(DecodeTextMode(stored, 3), (Bytes{0x0A, 0x0A, 0x0A}));
    EXPECT_EQ(DecodeTextMode(stored, 4), (Bytes{0x0A, 0x0A, 0x0A, 0x05}));
    EXPECT_EQ(DecodeTextMode(stored, 0), Bytes{});
}

TEST(TextModeTest, EveryByteButEndOfFileSurvivesARoundTrip) {
    Bytes data;
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != 0x1A) data.push_back(static_cast<std::uint8_t>(byte));
    }
    // Returns and line feeds next to each other in every order.
    const Bytes mixed{0x0D, 0x0A, 0x0A, 0x0D, 0x0D, 0x0D, 0x0A, 0x0D};
    data.insert(data.end(), mixed.begin(), mixed.end());
    EXPECT_EQ(DecodeTextMode(EncodeTextMode(data), data.size()), data);
}

}  // namespace
