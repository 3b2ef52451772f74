// The whole player on the real engine and the real playback timer: two short
// tones in the track list play in turn and start over by themselves, told apart
// by their pitch in what SDL's disk driver captured; a named pipe and a device
// in the list are tracks that cannot be played, and the window goes on.

#include "playback/playback_model.h"
#include "playback/transport_state.h"
#include "platform/message_box.h"
#include "platform/qt_file_chooser.h"
#include "playlists/tables.h"
#include "tests/support/audio_fixtures.h"
#include "ui/dialog_template.h"
#include "ui/player_dlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace lirvan;

using ::testing::ElementsAre;

namespace {

constexpr double kLowHz = 440;
constexpr double kHighHz = 1760;

// The tone heard in each 50 ms of a capture of 16-bit stereo at 44,100 Hz, as
// 'L' (low), 'H' (high) or nothing for silence and mixtures, repeats merged.
std::string TonesHeard(const std::string& capturePath)
{
    std::ifstream in(capturePath, std::ios::binary);
    std::vector<std::int16_t> samples;
    std::int16_t frame[2];
    while (in.read(reinterpret_cast<char*>(frame), sizeof frame)) samples.push_back(frame[0]);

    constexpr std::size_t kWindow = kFixtureRate / 20;
    std::string heard;
    for (std::size_t start = 0; start + kWindow <= samples.size(); start += kWindow) {
        int crossings = 0;
        double energy = 0;
        for (std::size_t i = start + 1; i < start + kWindow; ++i) {
            crossings += (samples[i - 1] < 0) != (samples[i] < 0);
            energy += double(samples[i]) * samples[i];
        }
        if (std::sqrt(energy / kWindow) < 1000) continue;
        const double hz = crossings / 2.0 * 20;
        const char tone = std::abs(hz - kLowHz) < 40 ? 'L' : std::abs(hz - kHighHz) < 80 ? 'H' : 0;
        if (tone && (heard.empty() || heard.back() != tone)) heard += tone;
    }
    return heard;
}

// The player on the real engine, which plays into SDL's disk driver at capture;
// neither the chooser nor a message box is shown: the tests fill the list directly.
struct RealPlayer {
    explicit RealPlayer(const std::string& capture)
    {
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", capture.c_str(), 1);
        engine = CreateSystemAudioEngine();
        model = std::make_unique<PlaybackModel>(*engine);
        dlg = std::make_unique<CPlayerDlg>(PlayerPlatform{*model, chooser, messages});
        dlg->show();
    }
    std::unique_ptr<AudioEngine> engine;
    QtFileChooser chooser;
    QtMessageBoxes messages;
    std::unique_ptr<PlaybackModel> model;
    std::unique_ptr<CPlayerDlg> dlg;
};

} // namespace

TEST(RealEngine, TracksAdvanceByThemselvesAndWrapToTheFirst)
{
    QTemporaryDir folder;
    const std::string low = folder.filePath("low.wav").toStdString();
    const std::string high = folder.filePath("high.wav").toStdString();
    WriteToneWav(low, 0.6, kLowHz);
    WriteToneWav(high, 0.6, kHighHz);
    const std::string capture = folder.filePath("out.raw").toStdString();
    {
        RealPlayer player(capture);
        PlaybackModel& model = *player.model;
        CPlayerDlg& dlg = *player.dlg;
        TrackTable[0].SetFromPath(low);
        TrackTable[1].SetFromPath(high);
        trackSlots = 3;
        currentTrack = 0;
        model.RefreshTrackList();
        dlg.OnTrackDblClk();

        // Each new stream is the next track; the third is the first one again.
        std::vector<int> played{currentTrack};
        HSTREAM playing = stream;
        const bool wrapped = QTest::qWaitFor(
            [&] {
                if (stream != playing) {
                    playing = stream;
                    played.push_back(currentTrack);
                }
                return played.size() == 3;
            },
            10000);
        ASSERT_TRUE(wrapped) << "tracks played: " << played.size();
        EXPECT_THAT(played, ElementsAre(0, 1, 0));
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("low"));

        // Closing the window while the track plays.
        QTest::qWait(300);
        dlg.reject();
    }

    EXPECT_EQ(TonesHeard(capture), "LHL");
}

TEST(RealEngine, NamedPipeAndDeviceAreUnplayableAndTheWindowAnswers)
{
    QTemporaryDir folder;
    const std::string pipe = folder.filePath("pipe.mp3").toStdString();
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const std::string tone = folder.filePath("tone.wav").toStdString();
    WriteToneWav(tone, 0.6, kLowHz);
    RealPlayer player(folder.filePath("out.raw").toStdString());
    CPlayerDlg& dlg = *player.dlg;
    TrackTable[0].SetFromPath(pipe);
    TrackTable[1].SetFromPath("/dev/zero");
    TrackTable[2].SetFromPath(tone);
    trackSlots = 4;
    auto* list = FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST);
    auto* status = FindControlAs<QLineEdit>(&dlg, IDC_STATUS);
    // A double-click on each, as the user does it: an open that waited for a writer, or read a
    // device that never ends, would never come back.
    const auto doubleClick = [&](int row) {
        currentTrack = row;
        player.model->RefreshTrackList();
        const QPoint at = list->visualItemRect(list->item(row)).center();
        // A double click is a click and then the second press.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        return status->text();
    };
    EXPECT_EQ(doubleClick(0), QStringLiteral("Остановлено"));
    EXPECT_EQ(doubleClick(1), QStringLiteral("Остановлено"));
    EXPECT_EQ(doubleClick(2), QStringLiteral("Играю"));
    EXPECT_NE(stream, 0u);
    dlg.reject();
}
