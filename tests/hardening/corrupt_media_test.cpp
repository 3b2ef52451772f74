// The real engine, playing into SDL's dummy driver, on the corpus of broken sound
// files that scripts/corrupt-media makes: every file either gives no stream or a
// stream that plays and ends by itself, within a bound; and through the window, a
// playlist of the whole corpus and one good file, double-clicked entry by entry,
// leaves the player running and answering.

#include "playback/playback_model.h"
#include "fake_platform.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"
#include "tests/platform/engine_test_env.h"
#include "tests/playlists/playlist_fixtures.h"
#include "ui/player_dlg.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

using namespace lirvan;

namespace {

// A stream of a half-second file that has not ended after this long is hung.
constexpr double kEndsWithinSeconds = 15;

// The corpus, made once for all the tests of this run: broken files first, in
// name order, then the good files of good/.
struct Corpus {
    Corpus()
    {
        const std::string command =
            std::string(LIRVAN_SOURCE_DIR) + "/scripts/corrupt-media " + folder.Path();
        made = std::system(command.c_str()) == 0;
        for (const auto& entry : std::filesystem::directory_iterator(folder.Path())) {
            if (entry.is_regular_file()) broken.push_back(entry.path().string());
        }
        std::sort(broken.begin(), broken.end());
        for (const char* ext : {"mp3", "mid", "wav", "wma", "avi", "mpeg"}) {
            good.push_back(folder.File(std::string("good/good.") + ext));
        }
    }
    TempFolder folder;
    bool made = false;
    std::vector<std::string> broken;
    std::vector<std::string> good;
};

const Corpus& TheCorpus()
{
    static const Corpus corpus;
    return corpus;
}

std::unique_ptr<AudioEngine> DummyEngine()
{
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::unique_ptr<AudioEngine> engine = CreateSystemAudioEngine();
    engine->AudioInit();
    return engine;
}

} // namespace

TEST(CorruptMedia, EveryFileGivesNoStreamOrOneThatEndsByItself)
{
    const Corpus& corpus = TheCorpus();
    ASSERT_TRUE(corpus.made);
    ASSERT_GT(corpus.broken.size(), 50u);
    std::unique_ptr<AudioEngine> engine = DummyEngine();

    int played = 0;
    auto playToEnd = [&](const std::string& path) {
        const HSTREAM handle = engine->AudioStreamCreateFile(path.c_str());
        if (handle == 0) return false;
        EXPECT_TRUE(engine->AudioPlay(handle)) << path;
        EXPECT_TRUE(WaitUntil([&] { return engine->AudioIsActive(handle) == 0; }, kEndsWithinSeconds))
            << path << " is still playing after " << kEndsWithinSeconds << " s";
        EXPECT_LE(engine->AudioGetPosition(handle), engine->AudioGetLength(handle)) << path;
        EXPECT_TRUE(engine->AudioStreamFree(handle)) << path;
        ++played;
        return true;
    };
    for (const std::string& path : corpus.broken) playToEnd(path);
    std::printf("%zu broken files: %d played to their end, the rest refused\n", corpus.broken.size(), played);
    // The broken files are cut from these: they must play, or the corpus tests nothing.
    for (const std::string& path : corpus.good) EXPECT_TRUE(playToEnd(path)) << path;
}

TEST(CorruptMedia, DoubleClickingEveryEntryLeavesThePlayerAnswering)
{
    const Corpus& corpus = TheCorpus();
    ASSERT_TRUE(corpus.made);
    std::vector<std::string> tracks = corpus.broken;
    tracks.push_back(corpus.good.front());

    std::unique_ptr<AudioEngine> engine = DummyEngine();
    FakeFileChooser chooser;
    FakeMessageBoxes messages;
    TempExeFolder folder;
    ResetPlayerState();
    AddPlaylist(folder, "broken", tracks);
    PlaybackModel model(*engine);
    CPlayerDlg dlg(PlayerPlatform{model, chooser, messages});
    dlg.show();
    auto* list = FindControlAs<QListWidget>(&dlg, IDC_TRACK_LIST);
    ASSERT_EQ(list->count(), static_cast<int>(tracks.size()));

    for (int row = 0; row < list->count(); ++row) {
        // As the user does it: the row scrolled into view, clicked, then double-clicked.
        list->scrollToItem(list->item(row));
        const QPoint at = list->visualItemRect(list->item(row)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(currentTrack, row);
        // Answering: a queued call runs, with timer ticks and track advances between.
        bool answered = false;
        QTimer::singleShot(0, &dlg, [&] { answered = true; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered; }, int(kEndsWithinSeconds * 1000)))
            << tracks[row] << " left the window without answer";
        QTest::qWait(20);
        const QString status = FindControlAs<QLineEdit>(&dlg, IDC_STATUS)->text();
        EXPECT_TRUE(status == "Играю" || status == "Остановлено")
            << tracks[row] << ": " << status.toStdString();
    }
    // The good file, last in the list, plays.
    EXPECT_EQ(FindControlAs<QLineEdit>(&dlg, IDC_STATUS)->text(), "Играю");
    EXPECT_NE(engine->AudioIsActive(stream), 0u);
    dlg.OnStop();
    EXPECT_TRUE(messages.shown.empty());
}
