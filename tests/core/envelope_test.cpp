#include "core/envelope.h"

#include <gtest/gtest.h>

namespace {

Envelope Make(int32_t start, int32_t end, int32_t from, int32_t to) {
    Envelope envelope;
    envelope.Set(start, end, from, to);
    return envelope;
}

TEST(Envelope, RisingRampHoldsItsEndsAndTruncates) {
    Envelope fadeIn = Make(0, 500, 0, 255);
    EXPECT_EQ(fadeIn.Value(-1000), 0);
    EXPECT_EQ(fadeIn.Value(0), 0);
    EXPECT_EQ(fadeIn.Value(1), 0);  // 255 / 500
    EXPECT_EQ(fadeIn.Value(2), 1);
    EXPECT_EQ(fadeIn.Value(250), 127);
    EXPECT_EQ(fadeIn.Value(499), 254);
    EXPECT_EQ(fadeIn.Value(500), 255);
    EXPECT_EQ(fadeIn.Value(501), 255);
    EXPECT_EQ(fadeIn.Value(1 << 30), 255);
}

TEST(Envelope, FallingRampTruncatesTowardZero) {
    Envelope fadeOut = Make(2500, 3000, 255, 0);
    EXPECT_EQ(fadeOut.Value(2500), 255);
    EXPECT_EQ(fadeOut.Value(2501), 255);  // -255 / 500 is 0, not -1
    EXPECT_EQ(fadeOut.Value(2502), 254);  // -510 / 500 is -1, not -2
    EXPECT_EQ(fadeOut.Value(2750), 128);
    EXPECT_EQ(fadeOut.Value(2999), 1);
    EXPECT_EQ(fadeOut.Value(3000), 0);
    EXPECT_EQ(fadeOut.Value(3001), 0);
}

TEST(Envelope, StoresTheDifferences) {
    Envelope envelope = Make(59000, 61700, 255, 0);
    EXPECT_EQ(envelope.delta, -255);
    EXPECT_EQ(envelope.duration, 2700);
    EXPECT_EQ(envelope.startTime, 59000);
    EXPECT_EQ(envelope.endTime, 61700);
}

TEST(Envelope, WindowIsOpenAtStartClosedAtEnd) {
    Envelope fadeIn = Make(0, 500, 0, 255);
    EXPECT_FALSE(fadeIn.IsActive(-1));
    EXPECT_FALSE(fadeIn.IsActive(0));
    EXPECT_TRUE(fadeIn.IsActive(1));
    EXPECT_TRUE(fadeIn.IsActive(500));
    EXPECT_FALSE(fadeIn.IsActive(501));
}

TEST(Envelope, FlatEnvelopeServesAsATimeWindow) {
    Envelope window = Make(0, 3000, 0, 0);
    for (int32_t t : {-5, 0, 1, 1500, 3000, 3001}) EXPECT_EQ(window.Value(t), 0) << t;
    EXPECT_FALSE(window.IsActive(0));
    EXPECT_TRUE(window.IsActive(1));
    EXPECT_TRUE(window.IsActive(3000));
    EXPECT_FALSE(window.IsActive(3001));
}

}  // namespace
