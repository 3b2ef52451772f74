// The output keeper's rules on a fake device and a clock of the test's own, so
// that a minute without a device takes no time: how often it tries, that it
// tries nothing while paused, and what it says.

#include "platform/engine/output_keeper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using namespace std::chrono_literals;
using Clock = OutputFollower::Clock;

// A device that opens only while `there`, and is lost when told.
class FakeDevice final : public OutputDevice {
public:
    bool Open() override
    {
        opens.push_back(now);
        open = there;
        standingIn = standIn;
        return open;
    }
    void Close() override { open = running = false; }
    bool Lost() const override { return lost; }
    void Run(bool run) override { running = run; }
    void ReleaseThread() override { }
    bool StandIn() const override { return open && standingIn; }

    Clock::time_point now;
    bool standIn = false; // what opens is only a silent stand-in
    bool standingIn = false;
    bool there = true;
    bool lost = false;
    bool open = false;
    bool running = false;
    std::vector<Clock::time_point> opens;
};

// Steps the follower as its keeper would, waking when it asks to, until `end`
// or until it asks for nothing more.
void RunUntil(OutputFollower& follower, FakeDevice& device, Clock::time_point end, bool playing)
{
    std::optional<Clock::time_point> next = follower.Step(device.now, playing, false);
    while (next && *next <= end) {
        device.now = *next;
        next = follower.Step(device.now, playing, false);
    }
    device.now = end;
}

} // namespace

TEST(OutputKeeper, AMinuteWithoutADeviceIsTriedAFewTimesASecondUntilItIsBack)
{
    FakeDevice device;
    device.there = false;
    testing::internal::CaptureStderr();
    {
        OutputFollower follower(device);
        const Clock::time_point start = device.now;
        // The first play finds no device.
        ASSERT_TRUE(follower.Step(start, true, true));
        RunUntil(follower, device, start + 60s, true);
        EXPECT_GE(device.opens.size(), 60u);
        EXPECT_LE(device.opens.size(), 70u) << "half a second for a few seconds, then a second";
        for (std::size_t i = 1; i < device.opens.size(); ++i)
            EXPECT_LE(device.opens[i] - device.opens[i - 1], 1s) << "try " << i;

        device.there = true;
        RunUntil(follower, device, device.now + 1s, true);
        EXPECT_TRUE(device.open && device.running) << "back within a second, with no new play";
    }
    EXPECT_FALSE(device.open) << "let go with the follower";
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(said,
              "lirvan1: no sound device; playback waits for one\n"
              "lirvan1: sound device back; playback goes on\n");
}

TEST(OutputKeeper, ADeviceLostWhilePlayingIsNotTriedWhilePausedAndIsAtTheNextPlay)
{
    FakeDevice device;
    OutputFollower follower(device);
    follower.Step(device.now, true, true);
    ASSERT_TRUE(device.running);

    device.lost = true;
    device.there = false;
    RunUntil(follower, device, device.now + 2s, true);
    EXPECT_FALSE(device.open);
    const std::size_t tried = device.opens.size();
    EXPECT_GT(tried, 1u) << "tried while it plays";

    // Paused: the follower asks to be woken for nothing, and tries nothing.
    device.lost = false;
    EXPECT_FALSE(follower.Step(device.now, false, false));
    device.now += 60s;
    EXPECT_FALSE(follower.Step(device.now, false, false));
    EXPECT_EQ(device.opens.size(), tried);

    // The play after the pause tries at once.
    device.there = true;
    follower.Step(device.now, true, true);
    EXPECT_TRUE(device.open && device.running);
    EXPECT_EQ(device.opens.back(), device.now);
}

TEST(OutputKeeper, ASilentStandInGivesWayOnceASecondUntilARealDeviceTakesOver)
{
    FakeDevice device;
    device.standIn = true;
    testing::internal::CaptureStderr();
    {
        OutputFollower follower(device);
        follower.Step(device.now, true, true);
        ASSERT_TRUE(device.running) << "the stand-in plays";
        RunUntil(follower, device, device.now + 10s, true);
        EXPECT_GE(device.opens.size(), 10u);
        EXPECT_LE(device.opens.size(), 12u) << "once a second";

        device.standIn = false;
        const std::size_t before = device.opens.size();
        RunUntil(follower, device, device.now + 1s, true);
        EXPECT_TRUE(device.open && device.running && !device.StandIn()) << "a real one within a second";
        RunUntil(follower, device, device.now + 10s, true);
        EXPECT_EQ(device.opens.size(), before + 1) << "a real device is kept";
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "lirvan1: no sound device; playing silently until one answers\n"
              "lirvan1: sound device back; playback goes on\n");
}
