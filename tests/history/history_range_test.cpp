#include <gtest/gtest.h>

#include "history/HistoryRange.h"

using namespace pelorin::history;

namespace {

constexpr TimeSpan kAll{0.0, 30.0 * 86400.0};

TEST(HistoryRange, ZoomKeepsTheAnchorInPlaceAndStaysWithinTheData) {
    struct Case {
        TimeSpan view;
        double anchor;
        double factor;
    };
    for (const Case& c : {Case{{1000.0, 2000.0}, 1250.0, 0.5}, Case{{1000.0, 2000.0}, 1250.0, 2.0},
                          Case{{86400.0, 172800.0}, 100000.0, 0.1}}) {
        const TimeSpan z = Zoomed(c.view, c.anchor, c.factor, kAll);
        EXPECT_DOUBLE_EQ(z.width(), c.view.width() * c.factor);
        EXPECT_DOUBLE_EQ((c.anchor - z.from) / z.width(),
                         (c.anchor - c.view.from) / c.view.width());
    }
    // Bounded both ways: never past the data, never below the narrowest view.
    const TimeSpan out = Zoomed({100.0, 200.0}, 150.0, 1e9, kAll);
    EXPECT_EQ(out.from, kAll.from);
    EXPECT_EQ(out.to, kAll.to);
    EXPECT_DOUBLE_EQ(Zoomed({100.0, 101.0}, 100.5, 1e-6, kAll).width(), kNarrowestView);
    const TimeSpan nearStart = Zoomed({0.0, 1000.0}, 0.0, 3.0, kAll);
    EXPECT_EQ(nearStart.from, 0.0);
    EXPECT_DOUBLE_EQ(nearStart.width(), 3000.0);
}

TEST(HistoryRange, PanStopsAtTheEndsAndPresetsEndAtTheNewestData) {
    struct Case {
        TimeSpan view;
        double fraction;
        TimeSpan expected;
    };
    for (const Case& c : {Case{{1000.0, 2000.0}, 0.25, {1250.0, 2250.0}},
                          Case{{1000.0, 2000.0}, -2.0, {0.0, 1000.0}},
                          Case{{kAll.to - 500.0, kAll.to}, 1.0, {kAll.to - 500.0, kAll.to}}}) {
        const TimeSpan p = Panned(c.view, c.fraction, kAll);
        EXPECT_DOUBLE_EQ(p.from, c.expected.from);
        EXPECT_DOUBLE_EQ(p.to, c.expected.to);
    }
    const TimeSpan pass{kAll.to - 600.0, kAll.to - 60.0};
    struct Preset {
        RangePreset preset;
        double width;
    };
    for (const Preset& c :
         {Preset{RangePreset::Day, 86400.0}, Preset{RangePreset::Week, 7 * 86400.0},
          Preset{RangePreset::Month, kAll.width()}, Preset{RangePreset::All, kAll.width()}}) {
        const TimeSpan v = PresetView(c.preset, kAll, pass);
        EXPECT_EQ(v.to, kAll.to);
        EXPECT_DOUBLE_EQ(v.width(), c.width);
    }
    EXPECT_EQ(PresetView(RangePreset::LastPass, kAll, pass).from, pass.from);
    EXPECT_EQ(PresetView(RangePreset::LastPass, kAll, std::nullopt).from, kAll.from);
}

TEST(HistoryRange, ADraggedRectangleZoomsToItsWidthWithinTheData) {
    struct Case {
        double a;
        double b;
        TimeSpan expected;
    };
    for (const Case& c :
         {Case{1000.0, 4000.0, {1000.0, 4000.0}}, Case{4000.0, 1000.0, {1000.0, 4000.0}},
          Case{-500.0, 200.0, {0.0, 200.0}},
          Case{kAll.to - 10.0, kAll.to + 99.0, {kAll.to - 10.0, kAll.to}},
          Case{700.0, 700.2, {700.1 - kNarrowestView / 2, 700.1 + kNarrowestView / 2}},
          Case{0.1, 0.1, {0.0, kNarrowestView}}}) {
        const TimeSpan z = DraggedSpan(c.a, c.b, kAll);
        EXPECT_DOUBLE_EQ(z.from, c.expected.from) << c.a << " to " << c.b;
        EXPECT_DOUBLE_EQ(z.to, c.expected.to) << c.a << " to " << c.b;
    }
}

TEST(HistoryRange, AViewOfTheNewestDataFollowsNewFrames) {
    const TimeSpan grown{kAll.from, kAll.to + 60.0};
    const TimeSpan latest{kAll.to - 3600.0, kAll.to};
    EXPECT_TRUE(ShowsNewest(latest, kAll));
    EXPECT_FALSE(ShowsNewest({0.0, 3600.0}, kAll));
    const TimeSpan followed = FollowNewest(latest, grown);
    EXPECT_EQ(followed.to, grown.to);
    EXPECT_DOUBLE_EQ(followed.width(), latest.width());
}

}  // namespace
