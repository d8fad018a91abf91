// Corvane: sorts short sound recordings into folders by their spectrograms.
//   corvane [OPTIONS] [PATH]   PATH: a wave file or a folder whose first batch to show
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QStringList>
#include <cstdio>

#include "core/CommandLine.h"
#include "core/CorvaneError.h"
#include "core/HeapSettings.h"
#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "host/ControlModule.h"
#include "host/QtFileDialogAsker.h"
#include "host/QtMessageBox.h"
#include "settings/QtSettingsStore.h"
#include "sonolux/SonoluxModule.h"
#include "windows/frmMain.h"

namespace {

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Help, version or a usage error: printed without ever needing a display.
int Answer(const CommandLine& commandLine) {
    const QString settingsFile = QtSettingsStore().FilePath();
    std::FILE* stream = commandLine.AnswersOnStandardError() ? stderr : stdout;
    std::fputs(commandLine.Answer(settingsFile).toLocal8Bit().constData(), stream);
    if (std::fflush(stream) != 0) return 1;
    return commandLine.ExitStatus();
}

}  // namespace

int main(int argc, char** argv) {
    KeepHeapThresholdsSteady();
    const CommandLine commandLine = CommandLine::Parse(ArgumentsOf(argc, argv));
    if (commandLine.WhatToDo() != CommandLine::Action::Run) return Answer(commandLine);

    // Qt sees only the program's name: the command line has been read, and a
    // PATH that looks like one of Qt's own options must stay a PATH.
    int qtArgc = 1;
    QApplication application(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));

    ControlModule controls;
    try {
        controls.Load(sonolux::CLSID_Sonolux);
    } catch (const CorvaneError& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvane"),
                              QStringLiteral("The spectrogram control module cannot be loaded: %1")
                                  .arg(error.Description()));
        return 1;
    }

    QtMessageBox messages;
    QtFileDialogAsker fileDialogAsker;
    FileMover fileMover;
    SafeFileWriter fileWriter;
    QtSettingsStore settings;
    frmMain window({messages, fileDialogAsker, fileMover, fileWriter, settings, controls,
                    ScreenDpi::Primary()});
    messages.SetOwner(&window);
    fileDialogAsker.SetOwner(&window);
    window.show();

    if (commandLine.HasPath()) {
        const QString path = commandLine.Path();
        // After the first layout with the window's real client area.
        QMetaObject::invokeMethod(
            &window, [&window, path] { window.OpenFromCommandLine(path); }, Qt::QueuedConnection);
    }
    return application.exec();
}
