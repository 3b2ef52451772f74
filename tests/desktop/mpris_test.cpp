// MPRIS against a bus daemon of the test's own, driven by playerctl and gdbus.

#include "audio_fixtures.h"
#include "desktop/mpris.h"
#include "desktop_window.h"
#include "private_bus.h"
#include "playlists/tables.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <gtest/gtest.h>

using namespace lirvan;

namespace {

// Seconds of the fake engine's every stream.
constexpr std::uint64_t kTrackSeconds = 200;

class MprisTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_bus = new PrivateBus; }
    static void TearDownTestSuite()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("lirvan-test"));
        delete s_bus;
    }

    void SetUp() override
    {
        ASSERT_FALSE(s_bus->Address().isEmpty()) << "no dbus-daemon";
        w.engine.length = kTrackSeconds * kBytesPerSecond;
        w.userChooser.Choose({w.File("first.mp3"), w.File("second.mp3"), w.File("third.mp3")});
        FindControlAs<QPushButton>(w.dlg.get(), IDC_OPEN)->click();
        mpris = std::make_unique<MprisPlayer>(
            w.model, *w.dlg, QDBusConnection::connectToBus(s_bus->Address(), QStringLiteral("lirvan-test")));
        ASSERT_TRUE(mpris->Registered());
    }

    static QProcessEnvironment ClientEnvironment() { return s_bus->Environment(); }
    static std::string Run(const QString& program, const QStringList& arguments)
    {
        return RunClient(ClientEnvironment(), program, arguments);
    }
    static std::string Playerctl(const QStringList& arguments)
    {
        return Run(QStringLiteral("playerctl"), QStringList{QStringLiteral("--player=lirvan1")} + arguments);
    }
    static std::string Gdbus(const QString& method, const QStringList& arguments = {})
    {
        return Run(QStringLiteral("gdbus"),
                   QStringList{QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                               QStringLiteral("org.mpris.MediaPlayer2.lirvan1"),
                               QStringLiteral("--object-path"), QStringLiteral("/org/mpris/MediaPlayer2"),
                               QStringLiteral("--method"), method} +
                       arguments);
    }

    // Answers the bus until the loaded track's metadata holds key (its tags
    // and cover come after the load); then what playerctl reads in format.
    std::string MetadataOnceItHas(const QString& key, const QString& format)
    {
        QElapsedTimer waited;
        waited.start();
        while (!mpris->Metadata().contains(key) && waited.elapsed() < kClientTimeoutMs)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return Playerctl({QStringLiteral("metadata"), QStringLiteral("--format"), format});
    }

    DesktopWindow w;
    std::unique_ptr<MprisPlayer> mpris;
    static PrivateBus* s_bus;
};

PrivateBus* MprisTest::s_bus = nullptr;

TEST_F(MprisTest, TransportMethodsWorkTheWindowsButtons)
{
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), "Playing");
    Playerctl({QStringLiteral("pause")});
    EXPECT_EQ(w.Status(), QStringLiteral("Пауза"));
    EXPECT_EQ(w.engine.Count("AudioPause"), 1);
    Playerctl({QStringLiteral("play")});
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
    Playerctl({QStringLiteral("play-pause")});
    EXPECT_EQ(Playerctl({QStringLiteral("status")}), "Paused");
    Playerctl({QStringLiteral("stop")});
    EXPECT_EQ(w.Status(), QStringLiteral("Остановлено"));

    // Next as at a track's end; Previous the track before, wrapping to the last.
    Playerctl({QStringLiteral("next")});
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
    Playerctl({QStringLiteral("previous")});
    EXPECT_EQ(currentTrack, 0);
    Playerctl({QStringLiteral("previous")});
    EXPECT_EQ(currentTrack, 2);
    EXPECT_EQ(w.engine.CallsOf("AudioStreamCreateFile").back(),
              "AudioStreamCreateFile " + w.folder.Path() + "third.mp3");
    Playerctl({QStringLiteral("next")});
    EXPECT_EQ(currentTrack, 0) << "past the last, the first";

    // Quit closes the window as its close box does.
    Gdbus(QStringLiteral("org.mpris.MediaPlayer2.Quit"));
    EXPECT_FALSE(w.dlg->isVisible());
}

TEST_F(MprisTest, VolumeAndPositionsAreExactAndFollowMprisRules)
{
    // playerctl moves a playing player's position on by the time it took to ask: the bus has it exact.
    const auto position = [] {
        return Gdbus(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                     {QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Position")});
    };
    Playerctl({QStringLiteral("volume"), QStringLiteral("0.25")});
    EXPECT_EQ(Playerctl({QStringLiteral("volume")}), "0.250000");
    EXPECT_EQ(w.engine.volume, 25u);
    EXPECT_EQ(FindControlAs<QSlider>(w.dlg.get(), IDC_VOLUME)->value(), 75) << "the window follows";

    // SetPosition lands where asked, not on a slider step.
    Playerctl({QStringLiteral("position"), QStringLiteral("101")});
    EXPECT_EQ(position(), "(<int64 101000000>,)");
    // Past the end, or for another track: nothing moves.
    const int seeks = w.engine.Count("AudioSetPosition");
    Playerctl({QStringLiteral("position"), QStringLiteral("250")});
    Gdbus(QStringLiteral("org.mpris.MediaPlayer2.Player.SetPosition"),
          {QStringLiteral("/org/lirvan1/track/2"), QStringLiteral("5000000")});
    EXPECT_EQ(w.engine.Count("AudioSetPosition"), seeks);
    EXPECT_EQ(position(), "(<int64 101000000>,)");

    // Seek before the start goes to 0; past the end is Next.
    Playerctl({QStringLiteral("position"), QStringLiteral("500-")});
    EXPECT_EQ(position(), "(<int64 0>,)");
    Playerctl({QStringLiteral("position"), QStringLiteral("300+")});
    EXPECT_EQ(currentTrack, 1);
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
}

TEST_F(MprisTest, SeekedFollowsJumpsOnly)
{
    QProcess monitor;
    monitor.setProcessEnvironment(ClientEnvironment());
    monitor.start(QStringLiteral("gdbus"),
                  {QStringLiteral("monitor"), QStringLiteral("--session"), QStringLiteral("--dest"),
                   QStringLiteral("org.mpris.MediaPlayer2.lirvan1")});
    // It prints whom it watches once it listens.
    ASSERT_TRUE(monitor.waitForReadyRead(kClientTimeoutMs));
    Playerctl({QStringLiteral("volume"), QStringLiteral("0.5")});
    FindControlAs<QSlider>(w.dlg.get(), IDC_POSITION)->setValue(50); // the user drags the slider
    Playerctl({QStringLiteral("position"), QStringLiteral("20")});
    // Answer the bus until both jumps are out, then read what the monitor saw.
    QElapsedTimer waited;
    waited.start();
    QString seen;
    while (seen.count(QStringLiteral(".Seeked")) < 2 && waited.elapsed() < kClientTimeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        monitor.waitForReadyRead(50);
        seen += QString::fromUtf8(monitor.readAllStandardOutput());
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
    seen += QString::fromUtf8(monitor.readAllStandardOutput());
    monitor.kill();
    monitor.waitForFinished();
    EXPECT_EQ(seen.count(QStringLiteral(".Seeked")), 2) << seen.toStdString();
    EXPECT_TRUE(seen.contains(QStringLiteral("Seeked (int64 100000000,)"))) << "the drag, to 50 % of 200 s";
    EXPECT_TRUE(seen.contains(QStringLiteral("Seeked (int64 20000000,)")));
}

TEST_F(MprisTest, CapabilitiesFollowTheTracksAndOpenUriLoads)
{
    const auto get = [this](const char* property) {
        return Gdbus(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                     {QStringLiteral("org.mpris.MediaPlayer2.Player"), QString::fromLatin1(property)});
    };
    EXPECT_EQ(get("CanPlay"), "(<true>,)");
    EXPECT_EQ(get("CanSeek"), "(<true>,)");
    EXPECT_EQ(get("Rate"), "(<1.0>,)");

    FindControlAs<QPushButton>(w.dlg.get(), IDC_REMOVE_ALL)->click();
    for (const char* property : {"CanPlay", "CanPause", "CanGoNext", "CanGoPrevious", "CanSeek"}) {
        EXPECT_EQ(get(property), "(<false>,)") << property;
    }
    Playerctl({QStringLiteral("next")});
    EXPECT_EQ(w.engine.Count("AudioStreamCreateFile"), 1) << "nothing to go to";

    Playerctl(
        {QStringLiteral("open"), QUrl::fromLocalFile(QString::fromStdString(w.File("new.mp3"))).toString()});
    EXPECT_EQ(w.Tracks(), QStringList{QStringLiteral("new")});
    EXPECT_EQ(w.Status(), QStringLiteral("Играю"));
    EXPECT_EQ(get("CanPlay"), "(<true>,)");
    EXPECT_EQ(get("CanSeek"), "(<true>,)");
}

TEST_F(MprisTest, MetadataAndIdentity)
{
    const QString format = QStringLiteral("{{mpris:trackid}}|{{xesam:title}}|{{xesam:url}}|{{mpris:length}}");
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("--format"), format}),
              "'/org/lirvan1/track/0'|first|file://" + w.folder.Path() + "first.mp3|" +
                  std::to_string(kTrackSeconds * 1'000'000));
    EXPECT_TRUE(Gdbus(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                      {QStringLiteral("org.mpris.MediaPlayer2"), QStringLiteral("Identity")})
                    .find("Лирван") != std::string::npos);
}

TEST_F(MprisTest, TagsAndCoversOfRealFiles)
{
    const std::string cache = w.folder.Path() + "cache";
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(cache));
    const std::string folder = w.folder.Path();
    ASSERT_TRUE(EncodeWith("-f lavfi -i color=c=red:s=8x8 -frames:v 1 '" + folder + "pic.png'"));
    const std::string tags =
        " -metadata title='Песня' -metadata artist='Исполнитель' -metadata album='Альбом'"
        " -metadata album_artist='Группа' -metadata track=3/12 ";
    const std::string withPicture = "-f lavfi -i sine=d=1 -i '" + folder +
        "pic.png' -map 0 -map 1 -c:v copy" + tags + "-disposition:v attached_pic ";
    ASSERT_TRUE(EncodeWith(withPicture + "-id3v2_version 3 '" + folder + "v23.mp3'"));
    ASSERT_TRUE(EncodeWith(withPicture + "-id3v2_version 4 '" + folder + "v24.mp3'"));
    ASSERT_TRUE(EncodeWith(withPicture + "'" + folder + "tags.flac'"));
    ASSERT_TRUE(EncodeWith(withPicture + "'" + folder + "tags.m4a'"));
    const QByteArray picture = QByteArray::fromStdString(ReadBytes(folder + "pic.png"));
    const std::string cached = cache + "/lirvan1/covers/" +
        QCryptographicHash::hash(picture, QCryptographicHash::Sha256).toHex().toStdString() + ".png";
    const QString format =
        QStringLiteral("{{xesam:title}}|{{xesam:artist}}|{{xesam:album}}|{{xesam:albumArtist}}|"
                       "{{xesam:trackNumber}}|{{mpris:artUrl}}");
    for (const char* file : {"v23.mp3", "v24.mp3", "tags.flac", "tags.m4a"}) {
        w.model.OpenTracks({folder + file});
        EXPECT_EQ(MetadataOnceItHas(QStringLiteral("mpris:artUrl"), format),
                  "Песня|Исполнитель|Альбом|Группа|3|file://" + cached)
            << file;
    }
    // One picture, one file: its bytes under their hash.
    EXPECT_EQ(QDir(QString::fromStdString(cache + "/lirvan1/covers")).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(ReadBytes(cached), picture.toStdString());

    // No tags, no picture inside: the record's name and the cover beside, in any letter case.
    QDir().mkpath(QString::fromStdString(folder + "альбом"));
    WriteToneWav(folder + "альбом/тон.wav", 1, 440);
    ASSERT_TRUE(EncodeWith("-f lavfi -i color=c=blue:s=8x8 -frames:v 1 '" + folder + "альбом/Cover.JPG'"));
    w.model.OpenTracks({folder + "альбом/тон.wav"});
    EXPECT_EQ(MetadataOnceItHas(QStringLiteral("mpris:artUrl"),
                                QStringLiteral("{{xesam:title}}|{{xesam:artist}}|{{mpris:artUrl}}")),
              "тон||" +
                  QUrl::fromLocalFile(QString::fromStdString(folder + "альбом/Cover.JPG"))
                      .toString(QUrl::FullyEncoded)
                      .toStdString());

    // A cache that cannot be written leaves the cover out, and nothing else.
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(folder + "pic.png"));
    w.model.OpenTracks({folder + "v24.mp3"});
    EXPECT_EQ(MetadataOnceItHas(QStringLiteral("xesam:album"), format), "Песня|Исполнитель|Альбом|Группа|3|");
    qunsetenv("XDG_CACHE_HOME");
}

TEST_F(MprisTest, RemovingARowAboveKeepsNamingTheTrackHeard)
{
    w.model.PlayTrack(1);
    auto* list = FindControlAs<QListWidget>(w.dlg.get(), IDC_TRACK_LIST);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    FindControlAs<QPushButton>(w.dlg.get(), IDC_REMOVE_TRACK)->click();
    ASSERT_EQ(w.Tracks(), (QStringList{QStringLiteral("second"), QStringLiteral("third")}));
    EXPECT_EQ(Playerctl({QStringLiteral("metadata"), QStringLiteral("--format"),
                         QStringLiteral("{{xesam:title}}|{{xesam:url}}")}),
              "second|file://" + w.folder.Path() + "second.mp3");
}

TEST_F(MprisTest, ChangesAreAnnouncedWithPropertiesChanged)
{
    // playerctl --follow prints the status again on every PropertiesChanged.
    QProcess follower;
    follower.setProcessEnvironment(ClientEnvironment());
    follower.start(QStringLiteral("playerctl"),
                   {QStringLiteral("--player=lirvan1"), QStringLiteral("--follow"),
                    QStringLiteral("metadata"), QStringLiteral("--format"),
                    QStringLiteral("{{status}} {{xesam:title}} {{volume}}")});
    std::vector<std::string> lines;
    // Whether the follower prints expected (playerctl prints a line per changed
    // property), answering the bus while waiting for it.
    auto prints = [&](const std::string& expected) {
        QEventLoop loop;
        QTimer::singleShot(kClientTimeoutMs, &loop, &QEventLoop::quit);
        const auto reading = QObject::connect(&follower, &QProcess::readyReadStandardOutput, &loop, [&] {
            while (follower.canReadLine()) lines.push_back(follower.readLine().trimmed().toStdString());
            if (!lines.empty() && lines.back() == expected) loop.quit();
        });
        if (lines.empty() || lines.back() != expected) loop.exec();
        QObject::disconnect(reading);
        return !lines.empty() && lines.back() == expected;
    };
    ASSERT_TRUE(prints("Playing first 1.0"));

    FindControlAs<QPushButton>(w.dlg.get(), IDC_PAUSE)->click(); // the user pauses
    EXPECT_TRUE(prints("Paused first 1.0"));
    w.model.Next();
    EXPECT_TRUE(prints("Playing second 1.0"));
    FindControlAs<QSlider>(w.dlg.get(), IDC_VOLUME)->setValue(50);
    EXPECT_TRUE(prints("Playing second 0.5"));
    EXPECT_EQ(lines.size(), 5u) << "one line for each change, and two for the new track";
    follower.kill();
    follower.waitForFinished();
}

TEST(MprisNoBus, PlayerRunsSilentlyWithoutABus)
{
    DesktopWindow w;
    MprisPlayer mpris(w.model, *w.dlg,
                      QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                    QStringLiteral("lirvan-none")));
    EXPECT_FALSE(mpris.Registered());
    QDBusConnection::disconnectFromBus(QStringLiteral("lirvan-none"));
}

} // namespace
