// One player per session: the real player started twice on a bus of the test's own.

#include "audio_fixtures.h"
#include "fake_platform.h"
#include "private_bus.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Polls until ready holds or the client time is up.
bool WaitFor(const std::function<bool()>& ready)
{
    QElapsedTimer waited;
    waited.start();
    while (!ready()) {
        if (waited.elapsed() > kClientTimeoutMs) return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(SecondLaunch, HandsItsFileToThePlayerRunningAndExits)
{
    PrivateBus bus;
    ASSERT_FALSE(bus.Address().isEmpty()) << "no dbus-daemon";
    TempExeFolder folder;
    const std::string tone = folder.Path() + "tone.wav";
    WriteToneWav(tone, 5.0, 440.0);
    QProcessEnvironment env = bus.Environment();
    env.insert(QStringLiteral("HOME"), QString::fromStdString(folder.Path()));
    env.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString(folder.Path() + "data"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    const auto playerctl = [&env](const QStringList& arguments) {
        return RunClient(env, QStringLiteral("playerctl"),
                         QStringList{QStringLiteral("--player=lirvan1")} + arguments);
    };

    QProcess first;
    first.setProcessEnvironment(env);
    first.start(QStringLiteral(LIRVAN_PLAYER), {});
    ASSERT_TRUE(WaitFor([&] { return playerctl({QStringLiteral("status")}) == "Stopped"; }));

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(QStringLiteral(LIRVAN_PLAYER), {QString::fromStdString(tone)});
    ASSERT_TRUE(second.waitForFinished(kClientTimeoutMs));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_TRUE(WaitFor([&] {
        return playerctl({QStringLiteral("metadata"), QStringLiteral("xesam:title")}) == "tone";
    }));
    EXPECT_EQ(playerctl({QStringLiteral("status")}), "Playing");
    EXPECT_EQ(RunClient(env, QStringLiteral("playerctl"), {QStringLiteral("--list-all")}), "lirvan1")
        << "one player only";

    first.terminate();
    first.waitForFinished(kClientTimeoutMs);
}

} // namespace
