#include "shell/GridTools.h"

#include <gtest/gtest.h>

using orv::fitColumnWidths;
using orv::GridMetrics;

namespace {

TEST(AdjustColumnWidths, FitsColumnsToTheGrid) {
    using B = GridMetrics::Border;
    struct Case {
        const char* what;
        std::vector<int> widths;
        GridMetrics metrics;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"no columns: nothing happens", {}, {500, 17, true, true, B::Single3D}, {}},
        // available = 500 - 17 = 483, total = 300: each grows by 183 / 3 = 61
        {"grows evenly", {100, 100, 100}, {500, 17, false, false, B::None}, {161, 161, 161}},
        // total = 300 + 3 lines = 303; available = 500 - 17 - 11 - 1 - 4 = 467: grow 164/3 = 54
        {"lines, indicator and 3-D border",
         {100, 100, 100},
         {500, 17, true, true, B::Single3D},
         {154, 154, 154}},
        // available = 400 - 17 - 2 = 381; total 300 -> grow 81/2 = 40
        {"flat border", {150, 150}, {400, 17, false, false, B::SingleFlat}, {190, 190}},
        // total 400 > available 283: excess 117, 117/3 = 39 exactly
        {"shrinks evenly", {200, 100, 100}, {300, 17, false, false, B::None}, {161, 61, 61}},
        // excess 118: 118/3 = 39 rem 1 -> 40 each
        {"shrinking rounds up", {200, 100, 101}, {300, 17, false, false, B::None}, {160, 60, 61}},
        {"exact fit unchanged", {183, 100}, {300, 17, false, false, B::None}, {183, 100}},
        // indicator without lines: only 11
        {"indicator without lines", {100}, {200, 17, false, true, B::None}, {172}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(fitColumnWidths(c.widths, c.metrics), c.expected) << c.what;
}

} // namespace
