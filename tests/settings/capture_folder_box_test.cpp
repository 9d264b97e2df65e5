// The general settings' capture folder: off stores no folder, on stores one that exists, a
// folder that does not is refused on the message line with the dialog left open, and Browse
// chooses one through the dialogs.
#include "settings/capture_folder_box.h"
#include "settings/general_sett_form.h"
#include "tests/support/scripted_dialogs.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lmx;

TEST(CaptureFolderBox, OffStoresNoFolderAndOnStoresOneThatExists)
{
    QTemporaryDir dir;
    TGeneralSettings record;
    {
        TGeneralSettForm form(record);
        CaptureFolderBox* box = form.CaptureBox();
        EXPECT_FALSE(box->CaptureCheck()->isChecked());
        EXPECT_FALSE(box->FolderEdit()->isEnabled());
        box->CaptureCheck()->click();
        EXPECT_TRUE(box->FolderEdit()->isEnabled());
        box->FolderEdit()->setText(dir.path());
        form.OkButton()->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
    }
    EXPECT_EQ(record.CaptureFolder, dir.path().toStdString());

    TGeneralSettForm again(record);
    EXPECT_TRUE(again.CaptureBox()->CaptureCheck()->isChecked());
    EXPECT_EQ(again.CaptureBox()->FolderEdit()->text(), dir.path());
    again.CaptureBox()->CaptureCheck()->click();
    again.OkButton()->click();
    EXPECT_EQ(record.CaptureFolder, "");
}

TEST(CaptureFolderBox, AFolderThatDoesNotExistIsRefusedAndTheDialogStaysOpen)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing");
    const struct {
        QString folder;
        QString message;
    } cases[] = {
        {"", "Choose the folder the captures go to."},
        {"  ", "Choose the folder the captures go to."},
        {missing, "The capture folder " + missing + " does not exist."},
    };
    for (const auto& c : cases) {
        TGeneralSettings record;
        record.DebugFile = true;
        const TGeneralSettings before = record;
        TGeneralSettForm form(record);
        form.DebugFileCheck()->click(); // not stored either: OK did not go through
        form.CaptureBox()->CaptureCheck()->click();
        form.CaptureBox()->FolderEdit()->setText(c.folder);
        form.OkButton()->click();
        EXPECT_NE(form.result(), QDialog::Accepted) << c.folder.toStdString();
        EXPECT_EQ(record, before) << c.folder.toStdString();
        EXPECT_EQ(form.CaptureBox()->MessageLine()->text(), c.message);
    }
}

TEST(CaptureFolderBox, BrowseChoosesTheFolderThroughTheDialogs)
{
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    dialogs.setNextFileName(dir.path());
    TGeneralSettings record;
    CaptureFolderBox box(record.CaptureFolder, &dialogs);
    box.CaptureCheck()->click();
    box.BrowseButton()->click();
    ASSERT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(dialogs.steps()[0].kind, ScriptedDialogs::Kind::Folder);
    EXPECT_EQ(dialogs.steps()[0].text, "Capture Folder");
    EXPECT_EQ(box.FolderEdit()->text(), dir.path());
    EXPECT_EQ(box.folder(), dir.path().toStdString());

    dialogs.setNextFileName(""); // cancelled: the folder stays
    box.BrowseButton()->click();
    EXPECT_EQ(box.FolderEdit()->text(), dir.path());

    CaptureFolderBox without(record.CaptureFolder, nullptr);
    EXPECT_TRUE(without.BrowseButton()->isHidden());
}
