// The general and display settings dialogs: what they show of the record, OK storing and Cancel
// not, the debug radio pair's enabling, and the network number field's rules.
#include "files/display_entry.h"
#include "settings/display_sett_form.h"
#include "settings/general_sett_form.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace lmx;

namespace {

// Each check box with the record field it shows.
struct Named {
    QCheckBox* box;
    bool TGeneralSettings::*field;
};

std::vector<Named> checkBoxes(const TGeneralSettForm& f)
{
    return {{f.ShowToolBarCheck(), &TGeneralSettings::ShowMainToolBar},
            {f.FileReplaceCheck(), &TGeneralSettings::CheckFileReplace},
            {f.ExtendedLmxCheck(), &TGeneralSettings::ExtendedLmx},
            {f.SaveKeysCheck(), &TGeneralSettings::SaveKeys},
            {f.ClearKeysCheck(), &TGeneralSettings::ClearKeys},
            {f.AnswerBoxesCheck(), &TGeneralSettings::ShowAnswerBoxes},
            {f.SerialDebugCheck(), &TGeneralSettings::ShowSerialDebug},
            {f.DebugFileCheck(), &TGeneralSettings::DebugFile}};
}

} // namespace

TEST(SettingsDialogs, GeneralShowsEveryFieldAndTheRadioPairFollowsTheDebugFileBox)
{
    TGeneralSettings record; // the defaults mix on and off
    TGeneralSettForm form(record);
    for (const Named& n : checkBoxes(form))
        EXPECT_EQ(n.box->isChecked(), record.*n.field) << qPrintable(n.box->text());
    EXPECT_TRUE(form.CreateDebugFileRadio()->isChecked());
    EXPECT_TRUE(form.OkButton()->isDefault());
    EXPECT_FALSE(form.CreateDebugFileRadio()->isEnabled());
    EXPECT_FALSE(form.AppendDebugFileRadio()->isEnabled());
    form.DebugFileCheck()->click();
    EXPECT_TRUE(form.CreateDebugFileRadio()->isEnabled());
    EXPECT_TRUE(form.AppendDebugFileRadio()->isEnabled());
    form.DebugFileCheck()->click();
    EXPECT_FALSE(form.AppendDebugFileRadio()->isEnabled());

    TGeneralSettings on;
    on.DebugFile = true;
    on.CreateDebugFile = false;
    on.AppendDebugFile = true;
    TGeneralSettForm shown(on);
    EXPECT_TRUE(shown.AppendDebugFileRadio()->isEnabled());
    EXPECT_TRUE(shown.AppendDebugFileRadio()->isChecked());
    EXPECT_FALSE(shown.CreateDebugFileRadio()->isChecked());
}

TEST(SettingsDialogs, GeneralOkStoresAllNineValuesAndCancelNone)
{
    TGeneralSettings record;
    const TGeneralSettings before = record;
    TGeneralSettings expected; // every box the other way round, the other radio button
    expected.CreateDebugFile = false;
    expected.AppendDebugFile = true;
    for (const bool ok : {false, true}) {
        TGeneralSettForm form(record);
        for (const Named& n : checkBoxes(form)) {
            n.box->click();
            expected.*n.field = !(before.*n.field);
        }
        form.AppendDebugFileRadio()->click();
        (ok ? form.OkButton() : form.CancelButton())->click();
        EXPECT_EQ(form.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(record, ok ? expected : before);
    }
}

TEST(NetNrEntry, DigitsAndASignWithinTwoCharactersAndTheNearerLimit)
{
    for (const char* ok : {"", "+", "-", "7", "32", "99", "-5", "+3", "00"})
        EXPECT_TRUE(isNetNrEntryText(ok)) << ok;
    for (const char* bad : {"123", "a", "1a", "3-", "--", " 1", "0x"})
        EXPECT_FALSE(isNetNrEntryText(bad)) << bad;

    const std::pair<const char*, int> values[] = {{"0", 0},  {"32", 32}, {"33", 32}, {"99", 32},
                                                  {"-5", 0}, {"+7", 7},  {"", 0},    {"-", 0},
                                                  {"x", 0},  {"1234567890123", 0}};
    for (const auto& [text, value] : values)
        EXPECT_EQ(netNrOfEntry(text), value) << text;
}

TEST(SettingsDialogs, DisplayTakesTheNetworkNumberAndOkKeepsItWithinLimits)
{
    TDisplaySettings record;
    record.NetNr = 5;
    // A letter is refused and 45 stands for the limit; Cancel keeps the number.
    struct Case {
        const char* typed;
        const char* shown;
        bool ok;
        int stored;
    } const cases[] = {{"45x", "45", false, 5}, {"45", "45", true, 32}, {"-3", "-3", true, 0},
                       {"-", "-", true, 0},     {"12", "12", true, 12}, {"", "", true, 0}};
    for (const Case& c : cases) {
        TDisplaySettForm form(record);
        EXPECT_EQ(form.NetSpinEdit()->value(), record.NetNr) << c.typed;
        form.show();
        QLineEdit* field = form.NetSpinEdit()->findChild<QLineEdit*>();
        field->selectAll();
        if (*c.typed)
            QTest::keyClicks(field, QString::fromLatin1(c.typed));
        else
            QTest::keyClick(field, Qt::Key_Backspace);
        EXPECT_EQ(field->text(), c.shown);
        (c.ok ? form.OkButton() : form.CancelButton())->click();
        EXPECT_EQ(record.NetNr, c.stored) << c.typed;
    }

    // The arrows step within the limits.
    record.NetNr = 32;
    TDisplaySettForm form(record);
    form.NetSpinEdit()->stepUp();
    form.OkButton()->click();
    EXPECT_EQ(record.NetNr, 32);
}
