// The Scan Bus and Transmit to Displays dialogs offscreen, the scan against the virtual
// display on a pseudo-terminal.
#include "bus/bus_scan_form.h"
#include "bus/display_list_form.h"
#include "tests/transmission/serial_line_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

using namespace lmx;
using serialtest::waitUntil;

TEST(BusForms, OkTakesTheScannedDisplayTheSettingsCanHoldOrAListOfDisplaysAsEntered)
{
    serialtest::SerialLine line(serialtest::simOptions({4, 40}));
    TDisplaySettings record;
    BusScanForm form(record, line.exchange, true);
    form.FromSpin()->setValue(2);
    form.ToSpin()->setValue(45);
    form.TimeoutSpin()->setValue(80); // an answer under load still comes within it
    EXPECT_FALSE(form.OkButton()->isEnabled());
    form.ScanButton()->click();
    EXPECT_EQ(form.ScanButton()->text(), "Stop");
    EXPECT_FALSE(form.FromSpin()->isEnabled());
    ASSERT_TRUE(waitUntil([&] { return !form.scanner().running(); }, 10000));
    EXPECT_EQ(form.StatusLabel()->text(), "2 displays answered (NetNr 2 to 45).");
    EXPECT_EQ(form.Progress()->value(), 44);
    ASSERT_EQ(form.AnswerList()->topLevelItemCount(), 2);
    // The first display the settings can take is chosen already; 40 is beyond them.
    EXPECT_EQ(form.AnswerList()->currentItem()->text(0), "4");
    form.AnswerList()->setCurrentItem(form.AnswerList()->topLevelItem(1));
    EXPECT_FALSE(form.OkButton()->isEnabled());
    EXPECT_TRUE(form.NoteLabel()->text().contains("SOT '28'")) << form.NoteLabel()->text().toStdString();
    form.AnswerList()->setCurrentItem(form.AnswerList()->topLevelItem(0));
    form.OkButton()->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(record.NetNr, 4);

    // Cancel during a scan closes once the probe under way is done; nothing is taken.
    BusScanForm again(record, line.exchange, true);
    again.show();
    again.ScanButton()->click();
    again.CancelButton()->click();
    EXPECT_TRUE(again.isVisible());
    ASSERT_TRUE(waitUntil([&] { return !again.isVisible(); }, 2000));
    EXPECT_EQ(again.scanner().end(), BusScanner::End::Stopped);
    EXPECT_EQ(again.result(), QDialog::Rejected);
    EXPECT_EQ(record.NetNr, 4);

    // Transmit to Displays takes only a list, kept as entered
    record.NetNr = 5;
    DisplayListForm list(record);
    EXPECT_EQ(list.ListEdit()->text(), "5");
    list.ListEdit()->setText("1-3,2");
    EXPECT_FALSE(list.OkButton()->isEnabled());
    EXPECT_EQ(list.NoteLabel()->text(), "network number 2 is named twice.");
    list.ListEdit()->setText(" 1-20 ");
    EXPECT_EQ(list.NoteLabel()->text(),
              "20 displays, in this order: NetNr 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, \u2026 20");
    list.OkButton()->click();
    EXPECT_EQ(record.NetNrList, "1-20");
}

// What the display says of itself reads as text beside its hex, both whole.
TEST(BusForms, AScanAnswersDataShowsAsTextAndHexUncut)
{
    serialtest::SerialLine line(serialtest::simOptions({4}));
    TDisplaySettings record;
    BusScanForm form(record, line.exchange, true);
    form.FromSpin()->setValue(4);
    form.ToSpin()->setValue(4);
    form.show();
    form.ScanButton()->click();
    ASSERT_TRUE(waitUntil([&] { return form.AnswerList()->topLevelItemCount() == 1; }, 10000));
    const QTreeWidgetItem* item = form.AnswerList()->topLevelItem(0);
    EXPECT_EQ(item->text(3).toStdString(), form.scanner().answers().at(0).data); // printable
    for (const int column : {3, 4})
        EXPECT_GE(form.AnswerList()->columnWidth(column), form.AnswerList()->fontMetrics().horizontalAdvance(item->text(column)));
}
