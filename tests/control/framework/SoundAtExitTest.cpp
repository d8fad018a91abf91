#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <cmath>
#include <cstdint>
#include <vector>

#include "tests/control/framework/PrivateSoundServer.h"
#include "tests/support/TempFolder.h"

namespace {

// A quarter of a second of a quiet 440 Hz tone at 48 kHz.
std::vector<std::int16_t> Tone() {
    std::vector<std::int16_t> samples(12000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(3000.0 * std::sin(2.0 * M_PI * 440.0 * i / 48000.0));
    return samples;
}

struct HostRun {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int code = -1;
    QString output;
};

HostRun RunHost(const PrivateSoundServer& server, const QStringList& arguments) {
    QProcess host;
    host.setProcessEnvironment(server.Environment());
    host.setProcessChannelMode(QProcess::MergedChannels);
    host.start(QDir(QCoreApplication::applicationDirPath()).filePath("sonolux-play-and-exit"),
               arguments);
    HostRun run;
    // Generous: the host plays a quarter of a second and ends.
    const bool ended = host.waitForFinished(45000);
    if (!ended) {
        host.kill();
        host.waitForFinished();
    }
    run.output = QString::fromLocal8Bit(host.readAll());
    if (!ended) {
        run.output += QStringLiteral("(the host did not end in time)");
        return run;
    }
    run.status = host.exitStatus();
    run.code = host.exitCode();
    return run;
}

}  // namespace

// The module's player outlived the application object and crashed every host
// in its exit handlers once it had played through a real sound server.
TEST(SoundAtExit, HostThatPlayedThroughARealServerExitsCleanly) {
    PrivateSoundServer server;
    if (!server.Failure().isEmpty())
        GTEST_SKIP() << "no private sound server: " << server.Failure().toStdString();
    TempFolder folder;
    const QString tone = QString::fromStdString(folder.WriteWave("tone.wav", Tone()));

    // A host that never runs the application's loop, and one that plays again
    // after its loop has ended.
    const HostRun direct = RunHost(server, {tone});
    EXPECT_EQ(direct.status, QProcess::NormalExit) << direct.output.toStdString();
    EXPECT_EQ(direct.code, 0) << direct.output.toStdString();
    EXPECT_EQ(direct.output.count(QStringLiteral("started")), 1) << direct.output.toStdString();
    EXPECT_EQ(direct.output.count(QStringLiteral("ended")), 1) << direct.output.toStdString();

    const HostRun replay = RunHost(server, {tone, QStringLiteral("--exec")});
    EXPECT_EQ(replay.status, QProcess::NormalExit) << replay.output.toStdString();
    EXPECT_EQ(replay.code, 0) << replay.output.toStdString();
    EXPECT_EQ(replay.output.count(QStringLiteral("started")), 2) << replay.output.toStdString();
    EXPECT_EQ(replay.output.count(QStringLiteral("ended")), 2) << replay.output.toStdString();

    // A host that ends while the sound still plays, slowed down to last.
    const HostRun left = RunHost(server, {tone, QStringLiteral("--leave-playing")});
    EXPECT_EQ(left.status, QProcess::NormalExit) << left.output.toStdString();
    EXPECT_EQ(left.code, 0) << left.output.toStdString();
    EXPECT_EQ(left.output.count(QStringLiteral("started")), 1) << left.output.toStdString();
}
