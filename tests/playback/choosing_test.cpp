// Reading the chooser's answer, and Open, Add and double-click on the real window.

#include "player_fixture.h"
#include "playback/chooser_walk.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <QListWidget>
#include <filesystem>
#include <sys/stat.h>

using namespace lirvan;

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

std::vector<std::string> Walk(const std::vector<std::string>& chosen)
{
    return WalkChooserResult(ChooserResultFor(chosen));
}

// Makes an empty file at each path; gives the paths.
std::vector<std::string> Made(const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) WriteBytes(path, "");
    return paths;
}

} // namespace

TEST(ChooserWalk, OneFileOrSeveralComeBackAsWholePathsInOrder)
{
    const TempExeFolder folder;
    const std::string at = folder.Path(); // ends in "/"
    const std::vector<std::string> files = Made({at + "a.mp3", at + "b.mid", at + "c.wav"});
    EXPECT_THAT(Walk({files[0]}), ElementsAre(files[0]));
    EXPECT_THAT(Walk({files[1], files[0], files[2]}), ElementsAre(files[1], files[0], files[2]));
    // A folder string that ends in the separator (the root): the joined path keeps both.
    ChooserResult root;
    root.buffer = at + '\0' + "a.mp3" + std::string(2, '\0');
    root.fileOffset = at.size() + 1;
    EXPECT_THAT(WalkChooserResult(root), ElementsAre(at + "/a.mp3"));
}

TEST(ChooserWalk, UnreadableFilesPipesLongPathsAndUnterminatedBuffers)
{
    const TempExeFolder folder;
    const std::string at = folder.Path();
    const std::string a = Made({at + "a.mp3"})[0];
    // Among several, a file that does not open, or is not a regular file, is cut
    // back to its folder: a named pipe is never opened, so the walk never waits.
    ASSERT_EQ(mkfifo((at + "pipe.mp3").c_str(), 0600), 0);
    const std::string bare = at.substr(0, at.size() - 1);
    EXPECT_THAT(Walk({a, at + "gone.mp3", at + "pipe.mp3"}), ElementsAre(a, bare, bare));
    // One file never opens as folder/name/name, so it comes back whole either way.
    EXPECT_THAT(Walk({at + "gone.mp3"}), ElementsAre(at + "gone.mp3"));

    // No cut at 259 characters, and no read past a buffer without its closing NULs.
    const std::string longFolder = at + std::string(200, 'd') + "/" + std::string(200, 'e');
    std::filesystem::create_directories(longFolder);
    Made({longFolder + "/a.mp3"});
    ChooserResult result;
    result.buffer = longFolder + std::string(1, '\0') + "a.mp3";
    result.fileOffset = longFolder.size() + 1;
    EXPECT_THAT(WalkChooserResult(result), ElementsAre(longFolder + "/a.mp3"));
}

using ChoosingTest = PlayerTest;

TEST_F(ChoosingTest, OpenAsksForTheSevenFiltersAndReplacesTheTable)
{
    AddFiles({"old1.mp3", "old2.mp3", "old3.mp3"});
    OpenFiles({"x.mp3", "y.mid"});

    const ChooserRequest& request = h.chooser.lastRequest;
    EXPECT_THAT(request.filters,
                ElementsAre(Pair("Все форматы", "*.mp3;*.mid;*.wav;*.wma;*.avi;*.mpeg"),
                            Pair("MIDI", "*.mid"), Pair("MP3", "*.mp3"), Pair("WAV", "*.wav"),
                            Pair("WMA", "*.wma"), Pair("AVI", "*.avi"), Pair("MPEG", "*.mpeg")));
    EXPECT_EQ(request.defaultExtension, "mp3");
    EXPECT_TRUE(request.allowMultiSelect);

    EXPECT_EQ(trackSlots, 3);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList({"x", "y"}));
    EXPECT_EQ(TrackTable[1].path, h.folder.Path() + "y.mid");
    EXPECT_EQ(LastCreated(), h.folder.Path() + "x.mp3");
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
}

TEST_F(ChoosingTest, OpenPlaysTheCurrentIndexOrTheFirstWhenItLiesBeyondTheChoice)
{
    currentTrack = 1;
    OpenFiles({"a.mp3", "b.mp3", "c.mp3"});
    EXPECT_EQ(LastCreated(), h.folder.Path() + "b.mp3");
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 1);

    currentTrack = 4;
    OpenFiles({"d.mp3", "e.mp3"});
    EXPECT_EQ(currentTrack, 0);
    EXPECT_EQ(LastCreated(), h.folder.Path() + "d.mp3");
    EXPECT_EQ(Title(), QStringLiteral("d"));
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 0);
}

TEST_F(ChoosingTest, CancelledChooserChangesNothing)
{
    OpenFiles({"a.mp3"});
    const auto callsBefore = h.engine.calls.size();
    h.chooser.answer = 0;
    h.chooser.Choose(MakeFiles({"b.mp3"}));
    h.Click(IDC_OPEN);
    h.Click(IDC_ADD);
    EXPECT_EQ(h.chooser.shown, 3);
    EXPECT_EQ(trackSlots, 2);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList({"a"}));
    EXPECT_EQ(h.engine.calls.size(), callsBefore);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
}

TEST_F(ChoosingTest, AddAppendsWithoutTouchingPlayback)
{
    AddFiles({"a.mp3", "b.mp3"});
    EXPECT_EQ(trackSlots, 3);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList({"a", "b"}));
    EXPECT_TRUE(h.engine.calls.empty());
    EXPECT_FALSE(h.Dlg().PlaybackTimerRunning());

    // trackSlots 1 is an empty table as well; the new files take record 0 on.
    trackSlots = 1;
    AddFiles({"c.mp3"});
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList({"c"}));

    DoubleClickTrack(0);
    h.engine.calls.clear();
    AddFiles({"d.mp3"});
    EXPECT_EQ(trackSlots, 3);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), QStringList({"c", "d"}));
    EXPECT_EQ(h.SelectedRow(IDC_TRACK_LIST), 0);
    EXPECT_TRUE(h.engine.calls.empty());
    EXPECT_TRUE(h.Dlg().PlaybackTimerRunning());
}

TEST_F(ChoosingTest, FilesBeyondTheTableAreLeftOutAndCounted)
{
    std::vector<std::string> names;
    for (int i = 0; i < 503; ++i) names.push_back("t" + std::to_string(i) + ".mp3");
    TrackTable[kMaxTracks].SetFromPath("/kept/trailing.mp3");
    OpenFiles(names);
    EXPECT_EQ(trackSlots, kTrackRecords);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST).size(), kMaxTracks);
    EXPECT_EQ(TrackTable[kMaxTracks - 1].name, "t498");
    EXPECT_EQ(TrackTable[kMaxTracks].path, "/kept/trailing.mp3");
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_TRUE(h.messages.shown[0].text.contains(QStringLiteral("Не добавлено файлов: 4")));
    EXPECT_EQ(h.messages.shown[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(Status(), QStringLiteral("Играю"));

    // Add to a table two short of full.
    trackSlots = kMaxTracks - 1;
    AddFiles({"u1.mp3", "u2.mp3", "u3.mp3", "u4.mp3"});
    EXPECT_EQ(trackSlots, kTrackRecords);
    EXPECT_EQ(TrackTable[kMaxTracks - 2].name, "u1");
    EXPECT_EQ(TrackTable[kMaxTracks - 1].name, "u2");
    EXPECT_EQ(TrackTable[kMaxTracks].path, "/kept/trailing.mp3");
    ASSERT_EQ(h.messages.shown.size(), 2u);
    EXPECT_TRUE(h.messages.shown[1].text.contains(QStringLiteral("Не добавлено файлов: 2")));
}

TEST_F(ChoosingTest, DoubleClickRestartsTheClickedTrack)
{
    OpenFiles({"a.mp3", "b.mp3"});
    DoubleClickTrack(1);
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(LastCreated(), h.folder.Path() + "b.mp3");

    // The playing track again: its stream stopped and freed, a new one created and played.
    h.engine.calls.clear();
    DoubleClickTrack(1);
    EXPECT_THAT(h.engine.CallsOf("AudioStop"), ElementsAre("AudioStop 2"));
    EXPECT_THAT(Created(), ElementsAre(h.folder.Path() + "b.mp3"));
    EXPECT_THAT(h.engine.live, ElementsAre(3));
    EXPECT_THAT(h.engine.CallsOf("AudioPlay"), ElementsAre("AudioPlay 3"));
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
}

TEST_F(ChoosingTest, DoubleClickWithoutSelectionDoesNothing)
{
    OpenFiles({"a.mp3"});
    h.engine.calls.clear();
    CPlayerDlg::SelectRow(h.Control<QListWidget>(IDC_TRACK_LIST), -1);
    h.Dlg().OnTrackDblClk();
    EXPECT_TRUE(h.engine.calls.empty());
    EXPECT_EQ(Status(), QStringLiteral("Играю"));
}
