// A plain test window with the command editor, the command buttons frame and the key buttons,
// laid out as the main window places them in its 792 x 554 client area, with the real dialogs:
// every button can be clicked, its dialog answered and the inserted line seen in both boxes.
// For a screenshot (tests/editor/commands_screenshot.sh) it starts with two keys defined and a
// few lines in the box, prints "ready" once on screen and runs until closed or killed; with an
// output path it also saves its own picture there. --basic starts without the extended group;
// --keydef also shows the key definition dialog on Key 2 with $C5 chosen and "ab" typed.
#include "dialogs/field_edit.h"
#include "dialogs/qt_parameter_dialogs.h"
#include "editor/action_button.h"
#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "editor/commands_frame.h"
#include "gallery_support.h"
#include "keys/key_actions.h"
#include "keys/key_def_form.h"
#include "keys/key_def_rules.h"
#include "widgets/ovel_list_box.h"
#include "window/qt_user_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>
#include <memory>

namespace {

void defineKey(lmx::TKeyDefinition& key, int index, const std::string& param)
{
    KeyDefRules rules;
    rules.open(key);
    rules.chooseCommand(index);
    rules.setParamText(param);
    rules.fill(key, KeyDefRules::entryText(index));
}

void sampleLines(CommandBox& box)
{
    for (const lmx::CommandEntry& e :
         {lmx::textLine("Hello"), lmx::escapeLine(lmx::esc::Font, "1"),
          lmx::escapeLine(lmx::esc::HorPos, "FFF"), lmx::breakLine(false, "05000"),
          lmx::escapeLine(lmx::esc::TimeDate, "000101000000")})
        box.InsertCommandLine(e.displayText, e.commandLine);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QString out;
    bool extended = true;
    bool keyDialog = false;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--basic"))
            extended = false;
        else if (arg == QLatin1String("--keydef"))
            keyDialog = true;
        else
            out = arg;
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("NEWFILE.LMX  Orvanta"));
    window.setFixedSize(792, 554);
    QtUserDialogs user(&window);
    QtParameterDialogs params(user, &window);
    CommandEditor editor(user, params, &window);
    QObject::connect(&editor, &CommandEditor::titleChanged, &window, &QWidget::setWindowTitle);
    TCommandsFrame frame(editor, user, params, &window);
    KeyActions keys(editor.box(), user, &window);

    // Menus as the window has them: the key steps under File and Settings.
    auto* menus = new QMenuBar(&window);
    QMenu* file = menus->addMenu(QStringLiteral("File"));
    file->addActions({keys.DoLoadKeys, keys.DoSaveKeys});
    QMenu* settings = menus->addMenu(QStringLiteral("Settings"));
    settings->addMenu(keys.keyDefinitionsMenu());
    settings->addMenu(keys.clearKeysMenu());

    // "Command Editor ": the block buttons, the keys, FPACK and NPACK, then the command box.
    auto* group = new QGroupBox(QStringLiteral("Command Editor "), &window);
    auto* buttons = new QVBoxLayout;
    buttons->setSpacing(2);
    CommandBoxActions& a = editor.actions();
    for (QAction* block : {a.DoInsertDisplay, a.DoInsertMessage, a.DoInsertPage, a.DoInsertLine})
        buttons->addWidget(new ActionButton(block, block->text(), group));
    for (int i = 0; i < ProgrammableKeys::kKeys; ++i)
        buttons->addWidget(keys.keyButton(i));
    buttons->addWidget(frame.makeForcePacketButton(group));
    buttons->addWidget(frame.makeNewPacketButton(group));
    buttons->addStretch(1);
    auto* editorRow = new QHBoxLayout(group);
    editorRow->addLayout(buttons);
    editorRow->addWidget(editor.commandBox(), 1);
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(editor.hexBox(), QStringLiteral("Hex Data"));
    auto* top = new QHBoxLayout;
    top->addWidget(group, 3);
    top->addWidget(tabs, 2);

    // Below: the transmit/receive frame's place and the command buttons.
    auto* transmit = new QGroupBox(QStringLiteral("Transmit / Receive"), &window);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(transmit, 1);
    frame.setFixedSize(TCommandsFrame::kWidth, TCommandsFrame::kHeight);
    bottom->addWidget(&frame);

    auto* layout = new QVBoxLayout(&window);
    layout->setMenuBar(menus);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    frame.SetExtendedLmx(extended);
    lmx::KeySet& set = keys.keySet();
    defineKey(set[0], 0xC5 - 0x7F, "AB");
    defineKey(set[2], 0xE3 - 0x7F, "12");
    keys.update();
    sampleLines(editor.box());
    window.show();

    std::unique_ptr<TKeyDefForm> form;
    lmx::TKeyDefinition shownKey("Key 2");
    QTimer::singleShot(0, &window, [&] {
        editor.commandBox()->setFocus();
        if (keyDialog) {
            form = std::make_unique<TKeyDefForm>(user, shownKey, &window);
            form->start();
            form->KeyCommandBox()->setCurrentIndex(0xC5 - 0x7F);
            form->show();
            form->KeyParamEdit()->setFocus();
            form->KeyParamEdit()->selectAll();
            form->KeyParamEdit()->insert(QStringLiteral("ab"));
        }
        gallery::announceReady(window, out);
    });
    return app.exec();
}
