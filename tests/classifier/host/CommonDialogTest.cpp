#include <gtest/gtest.h>

#include "core/CorvaneError.h"
#include "host/CommonDialog.h"
#include "tests/classifier/mocks/FakeServices.h"

TEST(CommonDialog, FilterBecomesQtForm) {
    EXPECT_EQ(CommonDialog::QtFilter("Wave files|*.wav"), "Wave files (*.wav)");
    EXPECT_EQ(CommonDialog::QtFilter("All files|*.*"), "All files (*.*)");
    EXPECT_EQ(CommonDialog::QtFilter("Text|*.txt;*.csv|All files|*.*"),
              "Text (*.txt *.csv);;All files (*.*)");
    EXPECT_EQ(CommonDialog::QtFilter(""), "");
}

TEST(CommonDialog, CancelWithCancelErrorThrowsAndKeepsFileName) {
    FakeFileDialogAsker asker;
    CommonDialog dialog(asker);
    dialog.FileName = "keylist.txt";
    dialog.CancelError = true;
    try {
        dialog.ShowOpen();
        FAIL() << "a cancel must raise an error";
    } catch (const DialogCancelled& error) {
        EXPECT_EQ(error.Number(), CorvaneErrorNumber::DialogCancelled);
        EXPECT_EQ(error.Description(), "Cancel was selected.");
    }
    EXPECT_EQ(dialog.FileName, "keylist.txt");

    dialog.CancelError = false;
    EXPECT_NO_THROW(dialog.ShowSave());
    EXPECT_EQ(dialog.FileName, "keylist.txt");
}

TEST(CommonDialog, ConfirmationLeavesFullPathAndSettingsPersist) {
    FakeFileDialogAsker asker;
    CommonDialog dialog(asker);
    dialog.Filter = "All files|*.*";
    dialog.DefaultExt = ".wav";
    dialog.Flags = CommonDialog::FileMustExist | CommonDialog::HideReadOnly;
    asker.answers.push_back(QString("/data/in/../in/x.wav"));
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName, "/data/in/x.wav");

    // A later use that sets nothing else sees what the first one left.
    dialog.Flags = CommonDialog::OverwritePrompt | CommonDialog::PathMustExist;
    dialog.ShowSave();
    ASSERT_EQ(asker.requests.size(), 2u);
    const FileDialogRequest& open = asker.requests[0];
    EXPECT_EQ(open.mode, FileDialogRequest::Mode::Open);
    EXPECT_TRUE(open.fileMustExist);
    EXPECT_FALSE(open.confirmOverwrite);
    const FileDialogRequest& save = asker.requests[1];
    EXPECT_EQ(save.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(save.fileName, "/data/in/x.wav");
    EXPECT_EQ(save.filter, "All files (*.*)");
    EXPECT_EQ(save.defaultExt, "wav");
    EXPECT_TRUE(save.confirmOverwrite);
    EXPECT_TRUE(save.pathMustExist);
    EXPECT_FALSE(save.fileMustExist);
}
