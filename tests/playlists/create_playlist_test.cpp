// Creating a playlist: the dialog, the new file and its catalogue line.

#include "playlists/playlist_messages.h"
#include "playlists/tables.h"
#include "tests/playlists/failing_file_system.h"
#include "tests/playlists/playlist_fixtures.h"

#include <QTest>
#include <filesystem>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

QString Utf8(const char* text) { return QString::fromUtf8(text); }

std::vector<QString> Messages(const PlayerHarness& h)
{
    std::vector<QString> texts;
    for (const ShownMessage& message : h.messages.shown) texts.push_back(message.text);
    return texts;
}

int FilesInPl(const PlayerHarness& h)
{
    const auto files = std::filesystem::directory_iterator(h.folder.Pl());
    return static_cast<int>(std::distance(begin(files), end(files)));
}

} // namespace

TEST(CreatePlaylist, WritesTheTracksOnScreenToANewLastPlaylist)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "old", kThreeTracks);
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    h.Open();

    EXPECT_FALSE(CreateNamed(h, "Рок").stayedOpen);
    EXPECT_EQ(ReadBytes(h.folder.Pl("Рок.plt")), CrLf(kThreeTracks));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue + CrLf({h.folder.Pl("Рок.plt") + "*Рок"}));
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"old", "Рок"}));
    EXPECT_EQ(h.SelectedRow(IDC_PLAYLIST_LIST), 1);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(currentPlaylist, 1);

    // Nothing on screen: an empty file, listed and selected.
    h.Click(IDC_REMOVE_ALL);
    CreateNamed(h, "empty");
    EXPECT_EQ(ReadBytes(h.folder.Pl("empty.plt")), "");
    EXPECT_EQ(h.SelectedRow(IDC_PLAYLIST_LIST), 2);
    EXPECT_TRUE(h.Items(IDC_TRACK_LIST).isEmpty());
    EXPECT_TRUE(h.messages.shown.empty());
}

TEST(CreatePlaylist, NamesTheFileAfterTheFirst39CharactersAndRefusesAnExistingFile)
{
    PlayerHarness h;
    WriteBytes(h.folder.Pl("stray.plt"), "/m/x.mp3\r\n");
    h.Open();

    const QString name50 = QString(39, QChar(u'ж')) + "0123456789";
    CreateNamed(h, name50);
    const std::string file = h.folder.Pl(QString(39, QChar(u'ж')).toStdString() + ".plt");
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), CrLf({file + "*" + name50.toStdString()}));
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), QStringList{name50});

    // Alike in the first 39 characters, or a file already in pl without a
    // catalogue line: refused, and nothing changes.
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    CreateNamed(h, QString(39, QChar(u'ж')) + "другое");
    CreateNamed(h, "stray");
    EXPECT_EQ(Messages(h), (std::vector<QString>(2, Utf8(kPlaylistExistsText))));
    EXPECT_EQ(h.messages.shown.at(0).caption, "Ошибка");
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    EXPECT_EQ(ReadBytes(h.folder.Pl("stray.plt")), "/m/x.mp3\r\n");
    EXPECT_EQ(playlistCount, 1);
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), QStringList{name50});
}

TEST(CreatePlaylist, DialogTakesANameOnlyFromItsButton)
{
    PlayerHarness h;
    h.Open();

    // Empty and "PLT": wiped, the dialog stays open, no message.
    for (const QString& name : QStringList{"", "PLT"}) {
        const DialogOutcome outcome = CreateNamed(h, name);
        EXPECT_TRUE(outcome.stayedOpen);
        EXPECT_EQ(outcome.textLeft, "");
    }
    // Names that would leave pl or spoil the catalogue line: kept for correcting, with a message.
    const QStringList unsafe = {"a/b", "../up", "a*b", "a\nb", "a\rb", QString("a") + QChar(0)};
    for (const QString& name : unsafe) {
        const DialogOutcome outcome = CreateNamed(h, name);
        EXPECT_TRUE(outcome.stayedOpen) << name.toStdString();
        EXPECT_EQ(outcome.textLeft, name);
    }
    EXPECT_EQ(Messages(h), (std::vector<QString>(6, Utf8(kUnsafeNameText))));
    EXPECT_EQ(FilesInPl(h), 0);

    // Escape, or Enter in the edit box, closes it without a name.
    for (const int key : {Qt::Key_Escape, Qt::Key_Return}) {
        WhenModalOpens([key](QWidget* dialog) {
            auto* edit = FindControlAs<QLineEdit>(dialog, IDC_PLAYLIST_NAME);
            edit->setText("typed");
            edit->setFocus();
            QTest::keyClick(edit, Qt::Key(key));
        });
        h.Click(IDC_CREATE_PLAYLIST);
    }
    EXPECT_EQ(FilesInPl(h), 0);

    // Other letters of "PLT", blanks and dots make files inside pl.
    for (const QString& name : QStringList{"plt", "   ", ".", ".."}) {
        EXPECT_FALSE(CreateNamed(h, name).stayedOpen);
    }
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"plt", "   ", ".", ".."}));
    EXPECT_TRUE(Exists(h.folder.Pl("plt.plt")) && Exists(h.folder.Pl("...plt")));
    EXPECT_EQ(h.messages.shown.size(), 6u);
}

TEST(CreatePlaylist, RefusesA71stPlaylistBeforeTheDialog)
{
    PlayerHarness h;
    for (int i = 0; i < kPlaylistRecords; ++i) AddPlaylist(h.folder, std::to_string(i), {});
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    h.Open();
    h.Click(IDC_CREATE_PLAYLIST); // no dialog opens: nothing to answer it
    EXPECT_EQ(Messages(h), std::vector<QString>{Utf8(CatalogueFullText().c_str())});
    EXPECT_EQ(playlistCount, kPlaylistRecords);
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
}

TEST(CreatePlaylist, TellsOfAFileOrCatalogueThatCannotBeWritten)
{
    PlayerHarness h;
    AddPlaylist(h.folder, "old", kThreeTracks);
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    h.Open();
    {
        // The playlist's file cannot be made, or its catalogue line cannot be
        // appended: no line, no entry, no stray file left to block the name.
        FailingFileSystem fs;
        fs.FailEvery(FailingFileSystem::Op::Open, "new.plt");
        CreateNamed(h, "new");
        fs.FailEvery(FailingFileSystem::Op::Write, "PLT.plt");
        CreateNamed(h, "other");
    }
    EXPECT_EQ(Messages(h), (std::vector<QString>(2, Utf8(kPlaylistNotCreatedText))));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    EXPECT_FALSE(Exists(h.folder.Pl("new.plt")) || Exists(h.folder.Pl("other.plt")));
    EXPECT_EQ(playlistCount, 1);
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), QStringList{"old"});

    // The tracks cannot be written: the playlist is listed, as its catalogue line is there.
    h.messages.shown.clear();
    {
        FailingFileSystem fs;
        fs.FailEvery(FailingFileSystem::Op::Write, "third.plt");
        CreateNamed(h, "third");
    }
    EXPECT_EQ(Messages(h), std::vector<QString>{Utf8(kTracksNotWrittenText)});
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"old", "third"}));
    EXPECT_TRUE(h.Items(IDC_TRACK_LIST).isEmpty());

    // The existence test fails on a file that is there: it is still found taken,
    // and neither that playlist's file nor the catalogue changes.
    h.messages.shown.clear();
    const std::string twoPlaylists = ReadBytes(h.folder.Pl("PLT.plt"));
    {
        FailingFileSystem fs;
        fs.FailNth(FailingFileSystem::Op::Open, 1);
        CreateNamed(h, "old");
    }
    EXPECT_EQ(Messages(h), std::vector<QString>{Utf8(kPlaylistExistsText)});
    EXPECT_EQ(ReadBytes(h.folder.Pl("old.plt")), CrLf(kThreeTracks));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), twoPlaylists);
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), (QStringList{"old", "third"}));

    // No folder pl at all.
    h.messages.shown.clear();
    std::filesystem::remove_all(h.folder.Pl());
    CreateNamed(h, "gone");
    EXPECT_EQ(Messages(h), std::vector<QString>{Utf8(kPlaylistNotCreatedText)});
    EXPECT_EQ(playlistCount, 2);
}

TEST(CreatePlaylist, AddsTheCatalogueLineOnlyByReplacingTheWholeCatalogue)
{
    using Op = FailingFileSystem::Op;
    PlayerHarness h;
    AddPlaylist(h.folder, "old", kThreeTracks);
    const std::string catalogue = ReadBytes(h.folder.Pl("PLT.plt"));
    h.Open();
    // The catalogue is there but does not open for reading (the opens: the
    // existence test, the new file, the catalogue), or its new copy does not close.
    {
        FailingFileSystem fs;
        fs.FailNth(Op::Open, 3);
        CreateNamed(h, "new");
        fs.FailEvery(Op::Close, "PLT.pltt");
        CreateNamed(h, "new");
    }
    EXPECT_EQ(Messages(h), (std::vector<QString>(2, Utf8(kPlaylistNotCreatedText))));
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), catalogue);
    EXPECT_FALSE(Exists(h.folder.Pl("new.plt")));
    EXPECT_EQ(h.Items(IDC_PLAYLIST_LIST), QStringList{"old"});

    // No catalogue yet: the first playlist makes it.
    std::filesystem::remove(h.folder.Pl("PLT.plt"));
    h.messages.shown.clear();
    CreateNamed(h, "first");
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), CrLf({h.folder.Pl("first.plt") + "*first"}));
}

TEST(CreatePlaylist, LeavesEveryOtherCatalogueByteAsItWas)
{
    // LF-only lines with a lone CR in a name; a last line without a line end; one
    // ending in a lone CR, which is part of its name and stays so.
    const std::vector<std::pair<std::string, std::string>> catalogues = {
        {"/p/a.plt*A\n/p/b.plt*B\rx\n", "/p/a.plt*A\n/p/b.plt*B\rx\n"},
        {"/p/a.plt*A\n/p/b.plt*B", "/p/a.plt*A\n/p/b.plt*B\r\n"},
        {"/p/a.plt*A\r\n/p/b.plt*B\r", "/p/a.plt*A\r\n/p/b.plt*B\r\r\n"},
    };
    for (const auto& [old, kept] : catalogues) {
        PlayerHarness h;
        WriteBytes(h.folder.Pl("PLT.plt"), old);
        h.Open();
        CreateNamed(h, "new");
        EXPECT_EQ(ReadBytes(h.folder.Pl("PLT.plt")), kept + h.folder.Pl("new.plt") + "*new\r\n");
    }
}

TEST(CreatePlaylist, LongPathsComeBackWholeThroughCreateSaveAndReload)
{
    PlayerHarness h;
    // 300 characters in seven folders of long Russian names, and 4,000 bytes.
    std::string cyrillic = h.folder.Path();
    for (int i = 0; i < 7; ++i)
        cyrillic += "Очень длинное название папки с музыкой " + std::to_string(i) + "/";
    std::filesystem::create_directories(cyrillic);
    cyrillic += "Песня.mp3";
    std::string deep = h.folder.Path();
    while (deep.size() < 3800) deep += std::string(190, 'd') + "/";
    std::filesystem::create_directories(deep);
    deep += std::string(4000 - deep.size() - 4, 'f') + ".wav";
    ASSERT_GE(QString::fromStdString(cyrillic).size(), 300);
    ASSERT_EQ(deep.size(), 4000u);
    h.Open();
    for (const std::string& path : {cyrillic, deep}) {
        WriteBytes(path, "");
        h.chooser.Choose({path});
        h.Click(IDC_ADD);
    }

    CreateNamed(h, "Длинные");
    h.Click(IDC_SAVE);
    EXPECT_EQ(ReadBytes(h.folder.Pl("Длинные.plt")), CrLf({cyrillic, deep, cyrillic, deep}));
    // What the list shows is read back from the file.
    ASSERT_EQ(trackSlots, 5);
    EXPECT_EQ(TrackTable[2].path, cyrillic);
    EXPECT_EQ(TrackTable[3].path, deep);
    EXPECT_EQ(h.Items(IDC_TRACK_LIST),
              (QStringList{"Песня", QString(deep.size() - deep.rfind('/') - 5, 'f'), "Песня",
                           QString(deep.size() - deep.rfind('/') - 5, 'f')}));
}
