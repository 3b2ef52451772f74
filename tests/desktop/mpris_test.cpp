// MPRIS against a bus daemon of the test's own, driven by playerctl and gdbus.

#include "desktop/mpris.h"
#include "desktop_window.h"
#include "playback/transport_state.h"
#include "playlists/tables.h"

#include <QDBusConnection>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

constexpr int kClientTimeoutMs = 10000;
// Seconds of the fake engine's every stream.
constexpr std::uint64_t kTrackSeconds = 100;

class MprisTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_daemon = new QProcess;
        s_daemon->start(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--session"), QStringLiteral("--nofork"),
                         QStringLiteral("--nopidfile"), QStringLiteral("--print-address=1")});
        if (s_daemon->waitForReadyRead(kClientTimeoutMs)) {
            s_address = QString::fromUtf8(s_daemon->readLine().trimmed());
        }
    }
    static void TearDownTestSuite()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("lirvan-test"));
        s_daemon->kill();
        s_daemon->waitForFinished();
        delete s_daemon;
    }

    void SetUp() override
    {
        ASSERT_FALSE(s_address.isEmpty()) << "no dbus-daemon";
        w.engine.length = kTrackSeconds * kBytesPerSecond;
        w.userChooser.Choose({w.File("first.mp3"), w.File("second.mp3"), w.File("third.mp3")});
        FindControlAs<QPushButton>(w.dlg.get(), IDC_OPEN)->click();
        mpris = std::make_unique<MprisPlayer>(
            *w.dlg, w.engine, w.handOver,
            QDBusConnection::connectToBus(s_address, QStringLiteral("lirvan-test")));
        ASSERT_TRUE(mpris->Registered());
    }

    static QProcessEnvironment ClientEnvironment()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), s_address);
        return env;
    }

    // Runs a client to its end while the player answers; its standard output.
    static std::string Run(const QString& program, const QStringList& arguments)
    {
        QProcess client;
        client.setProcessEnvironment(ClientEnvironment());
        QEventLoop loop;
        QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&client, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        QTimer::singleShot(kClientTimeoutMs, &loop, &QEventLoop::quit);
        client.start(program, arguments);
        loop.exec();
        return QString::fromUtf8(client.readAllStandardOutput()).trimmed().toStdString();
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

    DesktopWindow w;
    std::unique_ptr<MprisPlayer> mpris;
    static QProcess* s_daemon;
    static QString s_address;
};

QProcess* MprisTest::s_daemon = nullptr;
QString MprisTest::s_address;

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

TEST_F(MprisTest, VolumeAndPositionMoveTheSliders)
{
    auto* volume = FindControlAs<QSlider>(w.dlg.get(), IDC_VOLUME);
    Playerctl({QStringLiteral("volume"), QStringLiteral("0.25")});
    EXPECT_EQ(volume->value(), 75);
    EXPECT_EQ(w.engine.volume, 25u);
    EXPECT_EQ(Playerctl({QStringLiteral("volume")}), "0.250000");

    // SetPosition to 30 s: the slider at 30 %, the engine sought there.
    Playerctl({QStringLiteral("position"), QStringLiteral("30")});
    EXPECT_EQ(FindControlAs<QSlider>(w.dlg.get(), IDC_POSITION)->value(), 30);
    EXPECT_EQ(w.engine.CallsOf("AudioSetPosition").back(),
              "AudioSetPosition " + std::to_string(static_cast<std::uint64_t>(30 * percentUnit)));
    // Seek 10 s on from where the engine is.
    w.engine.position = 30 * kBytesPerSecond;
    EXPECT_EQ(Gdbus(QStringLiteral("org.freedesktop.DBus.Properties.Get"),
                    {QStringLiteral("org.mpris.MediaPlayer2.Player"), QStringLiteral("Position")}),
              "(<int64 30000000>,)");
    Playerctl({QStringLiteral("position"), QStringLiteral("10+")});
    EXPECT_EQ(FindControlAs<QSlider>(w.dlg.get(), IDC_POSITION)->value(), 40);
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
    w.dlg->PlayNext();
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
    MprisPlayer mpris(*w.dlg, w.engine, w.handOver,
                      QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                    QStringLiteral("lirvan-none")));
    EXPECT_FALSE(mpris.Registered());
    QDBusConnection::disconnectFromBus(QStringLiteral("lirvan-none"));
}

} // namespace
