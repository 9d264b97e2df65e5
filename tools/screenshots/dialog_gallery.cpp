// Shows every parameter dialog in a valid and an invalid state and takes a screenshot of
// each from the X server (ImageMagick's import), so their look can be checked by eye.
// Run by tests/editor/screenshots.sh under Xvfb:  dialog_gallery OUTPUT_DIR
#include "brightness/brightness_form.h"
#include "brightness/drag_graph.h"
#include "dialogs/ask_data_form.h"
#include "dialogs/edit_hex_form.h"
#include "dialogs/eoc_form.h"
#include "dialogs/field_edit.h"
#include "dialogs/inc_dec_forms.h"
#include "dialogs/spin_buttons.h"
#include "gallery_support.h"
#include "tests/dialogs/dialog_fixtures.h"
#include "window/qt_user_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QToolButton>

#include <cstdio>

namespace {

QString g_outDir;
int g_failures = 0;

void shoot(QDialog& dialog, const char* name)
{
    dialog.move(20, 20);
    dialog.show();
    gallery::settle(200);
    // The focused field starts selected; without the selection its colour shows.
    if (auto* field = qobject_cast<QLineEdit*>(dialog.focusWidget()))
        field->deselect();
    gallery::settle(100);
    if (!gallery::grabScreen(dialog.frameGeometry(), g_outDir, name))
        ++g_failures;
    dialog.hide();
}

void askData(UserDialogs& user)
{
    TAskDataFrm form(user);
    form.start({AskMode::InsertHex1, "Hex. Font number", 9, 1, 0, {}, false});
    form.field()->setText("A");
    shoot(form, "ask_data_font_invalid");
    form.start({AskMode::InsertHex2, "Hex. Vertical Position ", 127, 0, -128, {}, false});
    form.field()->setText("80");
    shoot(form, "ask_data_vertpos_valid");
    form.start({AskMode::EditHex3, "Hex. Horizontal Position ", 2047, 0, -2048, "7FF", false});
    form.spin()->upButton()->click();
    shoot(form, "ask_data_horpos_max");
    form.start({AskMode::InsertText, "CommandBox: Type Your Text.", 0, 0, 0, {}, false});
    form.field()->setText("Welcome to the show");
    shoot(form, "ask_data_text");
}

void incDec(UserDialogs& user)
{
    TSingleBox wait = fixtures::packetWait();
    TSingleIncDec single(wait, user);
    shoot(single, "single_valid");
    single.field(0)->setText("10001");
    shoot(single, "single_invalid");

    auto led = fixtures::ledTest();
    TDoubleIncDec twin(led[0], led[1], user);
    twin.field(0)->setText("25");
    shoot(twin, "double_invalid");

    auto dog = fixtures::watchDog();
    TTripleIncDec triple(dog[0], dog[1], dog[2], user);
    shoot(triple, "triple_valid");
    triple.field(0)->setText("7");
    shoot(triple, "triple_invalid");
}

void eoc(UserDialogs& user)
{
    TEocFrm form(user);
    form.start("Configure Display (All in Hex)", fixtures::displayConfiguration());
    shoot(form, "eoc_display_valid");
    form.field(4)->setText("1");
    form.field(0)->setText("09");
    shoot(form, "eoc_display_invalid");
    form.start("Configure Time And Date (All in Dec)", fixtures::timeAndDate());
    shoot(form, "eoc_time_valid");
    form.field(9)->setText("7");
    form.spin(7)->downButton()->click();
    shoot(form, "eoc_time_invalid");
}

void brightness()
{
    TBrightData one{"BrightNess Table (in percentages)", "3456789ABCDEFFFF", TVersion::V300};
    TBrightNessFrm form(one);
    shoot(form, "brightness_default");
    TBrightData two{"BrightNess Table (in percentages)", "00010203040506070809", TVersion::V200};
    TBrightNessFrm other(two);
    other.DoLow();
    for (int i = 0; i < 16; ++i)
        other.graph()->setValue(i, (i * i) / 15);
    shoot(other, "brightness_curve");
}

void hexEntry(UserDialogs& user)
{
    THexData data{"Insert Hexadecimal Data", "Example Input: 22 33 23 AA AF FF", "A0 FF 12"};
    TEditHexForm form(data, user);
    shoot(form, "hex_valid");
    form.field()->setText("A0 FF 1");
    shoot(form, "hex_invalid");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: dialog_gallery OUTPUT_DIR\n");
        return 2;
    }
    g_outDir = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(g_outDir);
    QtUserDialogs user;
    askData(user);
    incDec(user);
    eoc(user);
    brightness();
    hexEntry(user);
    return g_failures == 0 ? 0 : 1;
}
