#include "tests/control/framework/PrivateSoundServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

// Generous: the daemon answers within a second even on a busy machine.
constexpr int StartDeadlineMilliseconds = 30000;
// How long one look at the daemon waits for it to end before asking again.
constexpr int PollMilliseconds = 100;

bool MakeFolder(const QString& path) {
    return QDir().mkpath(path) &&
           QFile::setPermissions(
               path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace

PrivateSoundServer::PrivateSoundServer() {
    if (!Start()) return;
    if (!WaitUntilAnswering()) return;
    if (!Pactl({QStringLiteral("set-default-sink"), QStringLiteral("null")}))
        m_failure = QStringLiteral("the null sink cannot be made the default output");
}

PrivateSoundServer::~PrivateSoundServer() {
    if (m_daemon.state() == QProcess::NotRunning) return;
    m_daemon.terminate();
    if (!m_daemon.waitForFinished(StartDeadlineMilliseconds)) {
        m_daemon.kill();
        m_daemon.waitForFinished();
    }
}

bool PrivateSoundServer::Start() {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (daemon.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("pactl")).isEmpty()) {
        m_failure = QStringLiteral("pulseaudio or pactl is not installed");
        return false;
    }
    if (!PrepareFolders()) {
        m_failure = QStringLiteral("the server's folders cannot be made");
        return false;
    }
    // Run as root (as in CI) the daemon warns that it is meant for a user
    // session, and serves all the same.
    const QString log = m_folder.filePath(QStringLiteral("daemon.log"));
    m_daemon.setProcessEnvironment(m_environment);
    m_daemon.setStandardOutputFile(log);
    m_daemon.setStandardErrorFile(log, QIODevice::Append);
    m_daemon.start(daemon, {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                            QStringLiteral("--exit-idle-time=-1"), QStringLiteral("-L"),
                            QStringLiteral("module-native-protocol-unix"), QStringLiteral("-L"),
                            QStringLiteral("module-null-sink sink_name=null")});
    if (!m_daemon.waitForStarted()) {
        m_failure = QStringLiteral("pulseaudio does not start: ") + m_daemon.errorString();
        return false;
    }
    return true;
}

bool PrivateSoundServer::PrepareFolders() {
    const QString root = m_folder.path();
    const QString runtime = root + QStringLiteral("/run");
    const QString clientConfig = root + QStringLiteral("/client.conf");
    QFile config(clientConfig);
    if (!m_folder.isValid() || !MakeFolder(runtime) || !MakeFolder(root + "/home") ||
        !config.open(QIODevice::WriteOnly) || config.write("autospawn = no\n") < 0 ||
        !config.flush())
        return false;
    m_environment = QProcessEnvironment::systemEnvironment();
    m_environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    m_environment.insert(QStringLiteral("PULSE_RUNTIME_PATH"), runtime + "/pulse");
    m_environment.insert(QStringLiteral("PULSE_STATE_PATH"), root + "/state");
    m_environment.insert(QStringLiteral("HOME"), root + "/home");
    m_environment.insert(QStringLiteral("PULSE_SERVER"), "unix:" + runtime + "/pulse/native");
    // A client that finds no server must not start one of its own with the
    // machine's real devices.
    m_environment.insert(QStringLiteral("PULSE_CLIENTCONFIG"), clientConfig);
    return true;
}

bool PrivateSoundServer::WaitUntilAnswering() {
    const QDeadlineTimer deadline(StartDeadlineMilliseconds);
    while (!Pactl({QStringLiteral("info")})) {
        // Also the pause between two questions: it ends at once if the daemon dies.
        if (m_daemon.waitForFinished(PollMilliseconds) ||
            m_daemon.state() == QProcess::NotRunning) {
            m_failure = QStringLiteral("pulseaudio ended at start: ") + DaemonLog();
            return false;
        }
        if (deadline.hasExpired()) {
            m_failure = QStringLiteral("pulseaudio does not answer: ") + DaemonLog();
            return false;
        }
    }
    return true;
}

bool PrivateSoundServer::Pactl(const QStringList& arguments) const {
    QProcess pactl;
    pactl.setProcessEnvironment(m_environment);
    pactl.start(QStringLiteral("pactl"), arguments);
    if (!pactl.waitForFinished(StartDeadlineMilliseconds)) {
        pactl.kill();
        pactl.waitForFinished();
        return false;
    }
    return pactl.exitStatus() == QProcess::NormalExit && pactl.exitCode() == 0;
}

QString PrivateSoundServer::DaemonLog() const {
    QFile log(m_folder.filePath(QStringLiteral("daemon.log")));
    if (!log.open(QIODevice::ReadOnly)) return QStringLiteral("(no log)");
    return QString::fromLocal8Bit(log.readAll()).trimmed();
}
