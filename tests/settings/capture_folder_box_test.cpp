// The general settings' capture folder: OK refuses a folder that does not exist, saying why.
#include "settings/capture_folder_box.h"
#include "settings/general_sett_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lmx;

TEST(CaptureFolderBox, AFolderThatDoesNotExistIsRefusedWithTheReason)
{
    QTemporaryDir dir;
    const QString gone = dir.filePath("gone");
    for (const auto& [folder, why] : {std::pair{QString("  "), QString("Choose the folder the captures go to.")},
                                      {gone, "The capture folder " + gone + " does not exist."}}) {
        TGeneralSettings record;
        TGeneralSettForm form(record);
        form.ExtendedLmxCheck()->click();
        form.CaptureBox()->CaptureCheck()->setChecked(true);
        form.CaptureBox()->FolderEdit()->setText(folder);
        form.OkButton()->click();
        EXPECT_NE(form.result(), QDialog::Accepted);
        EXPECT_EQ(record, TGeneralSettings()) << "nothing stored";
        EXPECT_EQ(form.CaptureBox()->MessageLine()->text(), why);
    }
}
