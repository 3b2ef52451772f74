#include "private_bus.h"

#include <QEventLoop>
#include <QTimer>

PrivateBus::PrivateBus()
{
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                    QStringLiteral("--print-address=1")});
    if (m_daemon.waitForReadyRead(kClientTimeoutMs))
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
}

PrivateBus::~PrivateBus()
{
    m_daemon.kill();
    m_daemon.waitForFinished();
}

QProcessEnvironment PrivateBus::Environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return env;
}

std::string RunClient(const QProcessEnvironment& env, const QString& program, const QStringList& arguments)
{
    QProcess client;
    client.setProcessEnvironment(env);
    QEventLoop loop;
    QObject::connect(&client, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&client, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    QTimer::singleShot(kClientTimeoutMs, &loop, &QEventLoop::quit);
    client.start(program, arguments);
    loop.exec();
    return QString::fromUtf8(client.readAllStandardOutput()).trimmed().toStdString();
}
