// Both sliders answer the keyboard and the mouse as trackbars, and every move
// reaches the slider's handler.

#include "player_harness.h"
#include "playback/transport_state.h"

#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

class Trackbars : public ::testing::Test {
protected:
    void SetUp() override
    {
        harness.Open();
        harness.engine.initialised = true; // so the volume handler sets the volume
        percentUnit = 1000.0;              // so a seek shows the slider's value
    }

    // What each slider's handler last did with the value it read.
    std::string LastVolume() { return harness.engine.CallsOf("AudioSetVolume").back(); }
    std::string LastSeek() { return harness.engine.CallsOf("AudioSetPosition").back(); }

    PlayerHarness harness;
};

TEST_F(Trackbars, KeysMoveTowardsTheMaximumOrMinimumWhateverTheOrientation)
{
    const std::pair<Qt::Key, int> presses[] = {
        {Qt::Key_Down, 51},     {Qt::Key_Right, 52},  {Qt::Key_Up, 51},   {Qt::Key_Left, 50},
        {Qt::Key_PageDown, 70}, {Qt::Key_PageUp, 50}, {Qt::Key_End, 100}, {Qt::Key_Home, 0},
    };
    for (int id : {IDC_POSITION, IDC_VOLUME}) {
        auto* slider = harness.Control<QSlider>(id);
        slider->setValue(50);
        for (const auto& [key, value] : presses) {
            SCOPED_TRACE(testing::Message() << id << " key " << key);
            QTest::keyClick(slider, key);
            EXPECT_EQ(slider->value(), value);
            if (id == IDC_VOLUME) {
                EXPECT_EQ(LastVolume(), "AudioSetVolume " + std::to_string(100 - value));
            } else if (value != positionPercent) {
                // Where no tick has moved it from, the slider stands where the tick left it: no seek.
                EXPECT_EQ(LastSeek(), "AudioSetPosition " + std::to_string(value * 1000));
            }
        }
    }
}

TEST_F(Trackbars, AClickInTheChannelMovesOnePageTowardsIt)
{
    auto* position = harness.Control<QSlider>(IDC_POSITION);
    position->setValue(50);
    const int middle = position->height() / 2;
    QTest::mouseClick(position, Qt::LeftButton, {}, {position->width() - 2, middle});
    EXPECT_EQ(position->value(), 70);
    EXPECT_EQ(LastSeek(), "AudioSetPosition 70000");
    QTest::mouseClick(position, Qt::LeftButton, {}, {1, middle});
    EXPECT_EQ(position->value(), 50);
    EXPECT_EQ(LastSeek(), "AudioSetPosition 50000");

    // The volume slider has 0, full volume, at the top: a click below the thumb
    // moves it down and the sound gets quieter.
    auto* volume = harness.Control<QSlider>(IDC_VOLUME);
    const int centre = volume->width() / 2;
    QTest::mouseClick(volume, Qt::LeftButton, {}, {centre, volume->height() - 2});
    EXPECT_EQ(volume->value(), 20);
    EXPECT_EQ(LastVolume(), "AudioSetVolume 80");
    QTest::mouseClick(volume, Qt::LeftButton, {}, {centre, 1});
    EXPECT_EQ(volume->value(), 0);
    EXPECT_EQ(LastVolume(), "AudioSetVolume 100");
}

} // namespace
