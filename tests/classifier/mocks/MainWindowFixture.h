#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMenuBar>
#include <memory>

#include "files/FileMover.h"
#include "files/SafeFileWriter.h"
#include "host/ControlModule.h"
#include "settings/QtSettingsStore.h"
#include "tests/classifier/mocks/FakeServices.h"

#include <QTemporaryDir>
#include "sonolux/SonoluxModule.h"
#include "windows/frmMain.h"

// The control module, loaded once for the test executable from beside it.
inline ControlModule& LoadedControlModule() {
    // Never destroyed: the module's own statics go first at exit, and its class
    // object must not be released after that.
    static ControlModule& module = *new ControlModule;
    [[maybe_unused]] static const bool loaded = [] {
        EXPECT_NO_THROW(
            module.Load(sonolux::CLSID_Sonolux, QCoreApplication::applicationDirPath()));
        return true;
    }();
    return module;
}

// A real main window at 96 dots per inch with fakes for its dialogs.
class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<frmMain>(
            MainWindowServices{messages, fileDialog, fileMover, fileWriter, settings,
                               LoadedControlModule(), ScreenDpi{96, 96}});
        window->show();
        QCoreApplication::processEvents();
    }

    // Makes the client area exactly `width` x `height` pixels.
    void ResizeClient(int width, int height) {
        const QSize frame = window->size() - window->ClientArea()->size();
        window->resize(width + frame.width(), height + frame.height());
        QCoreApplication::processEvents();
        ASSERT_EQ(window->ClientArea()->size(), QSize(width, height));
    }

    // Takes in the load of cell `index`'s recording the way a host's read of
    // what it found does: the control finishes it and announces it at once.
    void TakeInLoad(int index) { static_cast<void>(window->Cell(index).RecordingInfo()); }

    FakeMessageBox messages;
    FakeFileDialogAsker fileDialog;
    FileMover fileMover;
    SafeFileWriter fileWriter;
    QTemporaryDir settingsFolder;
    QtSettingsStore settings{settingsFolder.filePath("Corvane.conf")};
    std::unique_ptr<frmMain> window;
};
