#pragma once

#include <QString>
#include <QStringList>

// What the program's command line asks for:  corvane [OPTIONS] [PATH]
// It is read before the application object exists, so that the help, the
// version and a usage error are answered without a display.
class CommandLine {
public:
    enum class Action { Run, ShowHelp, ShowVersion, UsageError };

    // Exit status of a command line that cannot be understood.
    static constexpr int ExitUsage = 2;

    // `arguments` as the program received them, the program's own name first.
    static CommandLine Parse(const QStringList& arguments);

    Action WhatToDo() const { return m_action; }
    // Run only: whether a PATH was given, and which (it may be empty, and is
    // then reported as missing like any other path that does not exist).
    bool HasPath() const { return m_hasPath; }
    const QString& Path() const { return m_path; }

    // What to print instead of running, and where: help and version go to the
    // standard output with status 0, a usage error to the standard error with
    // status ExitUsage. `settingsFile` is where the settings are kept.
    QString Answer(const QString& settingsFile) const;
    bool AnswersOnStandardError() const { return m_action == Action::UsageError; }
    int ExitStatus() const { return m_action == Action::UsageError ? ExitUsage : 0; }

    static QString HelpText(const QString& settingsFile);
    static QString VersionText();

private:
    Action m_action = Action::Run;
    bool m_hasPath = false;
    QString m_path;
    QString m_error;
};
