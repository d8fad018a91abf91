#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

// A PulseAudio daemon of the test's own, with one null sink as its default
// output, under a temporary runtime folder and home: it never meets a user's
// server, and programs started with Environment() talk to it alone. The
// daemon is stopped by its process id when the object goes.
class PrivateSoundServer {
public:
    PrivateSoundServer();
    ~PrivateSoundServer();
    PrivateSoundServer(const PrivateSoundServer&) = delete;
    PrivateSoundServer& operator=(const PrivateSoundServer&) = delete;

    // Empty when the server answers; otherwise why it could not be started.
    QString Failure() const { return m_failure; }
    // The environment of a client of this server.
    QProcessEnvironment Environment() const { return m_environment; }

private:
    bool Start();
    // The server's runtime folder, home and client configuration, and the
    // environment that leads clients to it.
    bool PrepareFolders();
    bool WaitUntilAnswering();
    // Runs pactl against the server; true when it succeeded.
    bool Pactl(const QStringList& arguments) const;
    QString DaemonLog() const;

    QTemporaryDir m_folder;
    QProcessEnvironment m_environment;
    QProcess m_daemon;
    QString m_failure;
};
