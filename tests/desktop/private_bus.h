#pragma once
// A session bus of the test's own (dbus-daemon), and clients run against it
// while the test's event loop goes on answering.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <string>

class PrivateBus {
public:
    // Starts the daemon; Address() is empty when it did not come up.
    PrivateBus();
    ~PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    const QString& Address() const { return m_address; }
    // This process's environment with the bus as the session's.
    QProcessEnvironment Environment() const;

private:
    QProcess m_daemon;
    QString m_address;
};

// How long a client may take.
inline constexpr int kClientTimeoutMs = 10000;

// Runs program to its end in env, the event loop running meanwhile; its standard output, trimmed.
std::string RunClient(const QProcessEnvironment& env, const QString& program, const QStringList& arguments);
