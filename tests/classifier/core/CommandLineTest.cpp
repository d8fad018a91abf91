#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include "core/CommandLine.h"
#include "tests/support/TempFolder.h"

namespace {

const QRegularExpression VersionLine(QStringLiteral("^Corvane 1\\.\\d+\\.\\d+\\n$"));

CommandLine Parse(const QStringList& arguments) {
    return CommandLine::Parse(QStringList{QStringLiteral("corvane")} + arguments);
}

struct ProgramRun {
    int exitCode = -1;
    QString out;
    QString err;
};

// The real program, with no display of any kind in its environment.
ProgramRun RunProgram(const QStringList& arguments, const QString& configFolder) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QString::fromUtf8(CORVANE_PATH), arguments);
    ProgramRun run;
    if (!process.waitForFinished(-1)) return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

}  // namespace

TEST(CommandLine, HelpVersionAndPathsAreReadFromTheArguments) {
    for (const char* option : {"-h", "--help"}) {
        const CommandLine help = Parse({QString::fromLatin1(option), QStringLiteral("-v")});
        EXPECT_EQ(help.WhatToDo(), CommandLine::Action::ShowHelp) << option;
        EXPECT_EQ(help.ExitStatus(), 0);
        EXPECT_FALSE(help.AnswersOnStandardError());
        const QString text = help.Answer(QStringLiteral("/home/me/.config/Corvane.conf"));
        EXPECT_TRUE(text.startsWith(QStringLiteral("Usage: corvane [OPTIONS] [PATH]\n")));
        EXPECT_TRUE(text.contains(QStringLiteral("\n  PATH ")));
        EXPECT_TRUE(text.contains(QStringLiteral(" /home/me/.config/Corvane.conf.\n")));
    }
    for (const char* option : {"-v", "--version"}) {
        const CommandLine version = Parse({QString::fromLatin1(option)});
        EXPECT_EQ(version.WhatToDo(), CommandLine::Action::ShowVersion) << option;
        EXPECT_TRUE(VersionLine.match(version.Answer({})).hasMatch()) << option;
    }

    EXPECT_EQ(Parse({}).WhatToDo(), CommandLine::Action::Run);
    EXPECT_FALSE(Parse({}).HasPath());
    const CommandLine folder = Parse({QStringLiteral("/home/me/night 1")});
    EXPECT_EQ(folder.WhatToDo(), CommandLine::Action::Run);
    EXPECT_TRUE(folder.HasPath());
    EXPECT_EQ(folder.Path(), QStringLiteral("/home/me/night 1"));
    EXPECT_EQ(Parse({QStringLiteral("--"), QStringLiteral("-odd.wav")}).Path(),
              QStringLiteral("-odd.wav"));
    // An empty PATH is still a PATH: it is reported as missing, not ignored.
    EXPECT_TRUE(Parse({QString()}).HasPath());
}

TEST(CommandLine, UnknownOptionsAndASecondPathAreUsageErrors) {
    const QStringList wrong[] = {{QStringLiteral("--colour")},
                                 {QStringLiteral("-x"), QStringLiteral("--help")},
                                 {QStringLiteral("--version=2")},
                                 {QStringLiteral("a.wav"), QStringLiteral("b.wav")}};
    for (const QStringList& arguments : wrong) {
        const CommandLine commandLine = Parse(arguments);
        EXPECT_EQ(commandLine.WhatToDo(), CommandLine::Action::UsageError)
            << arguments.join(' ').toStdString();
        EXPECT_EQ(commandLine.ExitStatus(), 2);
        EXPECT_TRUE(commandLine.AnswersOnStandardError());
        const QString text = commandLine.Answer(QStringLiteral("/c/Corvane.conf"));
        EXPECT_TRUE(text.startsWith(QStringLiteral("corvane: ")));
        EXPECT_TRUE(text.contains(QStringLiteral("\nUsage: corvane [OPTIONS] [PATH]\n")));
    }
    EXPECT_TRUE(Parse({QStringLiteral("--colour")})
                    .Answer({})
                    .startsWith(QStringLiteral("corvane: Unknown option 'colour'.\n")));
}

TEST(CorvaneProgram, AnswersHelpVersionAndUsageErrorsWithoutADisplay) {
    TempFolder config;
    const QString configFolder = QString::fromStdString(config.Path());

    const ProgramRun help = RunProgram({QStringLiteral("--help")}, configFolder);
    EXPECT_EQ(help.exitCode, 0) << help.err.toStdString();
    EXPECT_TRUE(help.out.startsWith(QStringLiteral("Usage: corvane")));
    EXPECT_TRUE(help.out.contains(configFolder + QStringLiteral("/Corvane.conf.\n")))
        << help.out.toStdString();

    const ProgramRun version = RunProgram({QStringLiteral("-v")}, configFolder);
    EXPECT_EQ(version.exitCode, 0) << version.err.toStdString();
    EXPECT_TRUE(VersionLine.match(version.out).hasMatch()) << version.out.toStdString();

    const ProgramRun wrong = RunProgram({QStringLiteral("--colour")}, configFolder);
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.out.isEmpty());
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("Usage: corvane"))) << wrong.err.toStdString();
}
