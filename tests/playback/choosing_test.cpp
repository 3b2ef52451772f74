// Reading the chooser's answer, and Open, Add and double-click on the real window.

#include "player_fixture.h"
#include "playback/chooser_walk.h"
#include "playback/transport_state.h"
#include "platform/text_file.h"
#include "playlists/tables.h"

#include <QListWidget>
#include <set>

using namespace lirvan;

using ::testing::ElementsAre;
using ::testing::Pair;

namespace {

// A file system where exactly the listed paths open.
class ListedFiles final : public FileSystem {
public:
    explicit ListedFiles(std::set<std::string> paths) : m_paths(std::move(paths)) { InstallFileSystem(this); }
    ~ListedFiles() override { InstallFileSystem(nullptr); }
    int Open(const std::string& path, Access) override { return m_paths.count(path) ? 100 : -1; }
    long Read(int, char*, std::size_t) override { return 0; }
    long Write(int, const char*, std::size_t size) override { return static_cast<long>(size); }
    bool Sync(int) override { return true; }
    bool Close(int) override { return true; }
    bool Rename(const std::string&, const std::string&) override { return false; }
    bool Remove(const std::string&) override { return false; }

private:
    std::set<std::string> m_paths;
};

std::vector<std::string> Walk(const std::vector<std::string>& chosen)
{
    return WalkChooserResult(ChooserResultFor(chosen));
}

} // namespace

TEST(ChooserWalk, OneFileOrSeveralComeBackAsWholePathsInOrder)
{
    const ListedFiles files({"/music/a.mp3", "/music/b.mid", "/music/c.wav", "//r.mp3"});
    EXPECT_THAT(Walk({"/music/a.mp3"}), ElementsAre("/music/a.mp3"));
    EXPECT_THAT(Walk({"/music/b.mid", "/music/a.mp3", "/music/c.wav"}),
                ElementsAre("/music/b.mid", "/music/a.mp3", "/music/c.wav"));
    // The root folder ends in the separator already; the joined path keeps both.
    ChooserResult root;
    root.buffer = std::string("/\0r.mp3\0\0", 9);
    root.fileOffset = 2;
    EXPECT_THAT(WalkChooserResult(root), ElementsAre("//r.mp3"));
}

TEST(ChooserWalk, UnreadableFilesLongPathsAndUnterminatedBuffers)
{
    const std::string folder = "/" + std::string(300, 'd');
    const ListedFiles files({"/music/a.mp3", folder + "/a.mp3"});
    // Among several, an unreadable file is cut back to its folder; one file never
    // opens as folder/name/name, so it comes back whole either way.
    EXPECT_THAT(Walk({"/music/a.mp3", "/music/gone.mp3"}), ElementsAre("/music/a.mp3", "/music"));
    EXPECT_THAT(Walk({"/music/gone.mp3"}), ElementsAre("/music/gone.mp3"));

    // No cut at 259 characters, and no read past a buffer without its closing NULs.
    ChooserResult result;
    result.buffer = folder + std::string(1, '\0') + "a.mp3";
    result.fileOffset = folder.size() + 1;
    EXPECT_THAT(WalkChooserResult(result), ElementsAre(folder + "/a.mp3"));
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
