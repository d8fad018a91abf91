// Corvane: sorts short sound recordings into folders by their spectrograms.
//   corvane [PATH]   PATH: a wave file or a folder whose first batch to show
#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QStringList>

#include "ControlModule.h"
#include "FileDialogAsker.h"
#include "FileMover.h"
#include "MessageBox.h"
#include "QtSettingsStore.h"
#include "SafeFileWriter.h"
#include "frmMain.h"
#include "sonolux/SonoluxModule.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvane"));

    ControlModule controls;
    if (!controls.Load(sonolux::CLSID_Sonolux)) {
        QMessageBox::critical(nullptr, QStringLiteral("Corvane"),
                              QStringLiteral("The spectrogram control module cannot be loaded: %1")
                                  .arg(controls.ErrorText()));
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

    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const QString path = arguments.at(1);
        // After the first layout with the window's real client area.
        QMetaObject::invokeMethod(
            &window, [&window, path] { window.OpenFromCommandLine(path); }, Qt::QueuedConnection);
    }
    return application.exec();
}
