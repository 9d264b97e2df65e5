// The Repeat Transmission dialog offscreen: what its entries make of the record, and what it
// will not take.
#include "bus/repeat_form.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

using namespace lmx;

TEST(RepeatForm, TheEntriesMakeThePlan)
{
    struct Case {
        const char* name;
        std::function<void(RepeatForm&)> enter;
        RepeatPlan plan;
        bool toList;
    };
    const Case cases[] = {
        {"runs", [](RepeatForm& f) { f.RunsEdit()->setValue(200); }, {200, 0, 0, 0}, false},
        {"until stopped, with an interval",
         [](RepeatForm& f) {
             f.RunsEdit()->setValue(0);
             f.IntervalEdit()->setValue(500);
         },
         {0, 0, 500, 0}, false},
        {"a duration",
         [](RepeatForm& f) {
             f.DurationChoice()->setChecked(true);
             f.DurationEdit()->setText("8h");
         },
         {0, 8 * 3600 * 1000, 0, 0}, false},
        {"stop after failed runs",
         [](RepeatForm& f) {
             f.StopCheck()->setChecked(true);
             f.StopEdit()->setValue(3);
         },
         {100, 0, 0, 3}, false},
        {"to the display list", [](RepeatForm& f) { f.DisplayListCheck()->setChecked(true); },
         {100, 0, 0, 0}, true},
    };
    for (const Case& c : cases) {
        RepeatRequest record;
        record.plan.runs = 100;
        RepeatForm form(record, "1-3");
        c.enter(form);
        ASSERT_TRUE(form.OkButton()->isEnabled()) << c.name;
        form.OkButton()->click();
        EXPECT_EQ(form.result(), QDialog::Accepted) << c.name;
        EXPECT_EQ(record.plan, c.plan) << c.name;
        EXPECT_EQ(record.toDisplayList, c.toList) << c.name;
    }
}

TEST(RepeatForm, ADurationThatDoesNotReadKeepsOkOff)
{
    RepeatRequest record;
    RepeatForm form(record, "");
    form.DurationChoice()->setChecked(true);
    form.DurationEdit()->setText("8 hours");
    EXPECT_FALSE(form.OkButton()->isEnabled());
    EXPECT_EQ(form.NoteLabel()->text(),
              "The duration is a time of 1s up to 366d, such as 90s, 30m, 8h or 1h30m.");
    form.OkButtonClick();
    EXPECT_NE(form.result(), QDialog::Accepted);
    form.DurationEdit()->setText("90s");
    EXPECT_TRUE(form.OkButton()->isEnabled());
    EXPECT_TRUE(form.NoteLabel()->text().startsWith("Runs for 1m30s, back to back."))
            << form.NoteLabel()->text().toStdString();
}

TEST(RepeatForm, WithoutADisplayListEachRunGoesToOneDisplay)
{
    for (const char* list : {"", "3-1"}) {
        RepeatRequest record;
        record.toDisplayList = true;
        RepeatForm form(record, list);
        EXPECT_FALSE(form.DisplayListCheck()->isEnabled()) << list;
        form.OkButton()->click();
        EXPECT_FALSE(record.toDisplayList) << list;
    }
}
