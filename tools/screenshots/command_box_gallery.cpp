// Shows the command box and the hex box as the main window places them, holding nested blocks
// with a line of every colour of the colour table, for a screenshot under Xvfb
// (tests/editor/cmdbox_screenshot.sh). Prints "ready" once the window is on screen and runs
// until it is closed or killed; with an output path it also saves its own picture there.
#include "editor/command_editor.h"
#include "gallery_support.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"
#include "widgets/ovel_list_box.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <cstdio>

namespace {

void block(CommandEditor& e, ScriptedParameterDialogs& params, lmx::BlockKind kind,
           const char* number)
{
    params.setNextReply(ScriptedParameterDialogs::type({number}));
    e.blocks().insertBlock(kind);
}

void at(CommandEditor& e, const char* text)
{
    CommandList& l = e.box().list();
    for (int i = 0; i < l.count(); ++i)
        if (l.line(i).displayText == text) {
            l.deselectAll();
            l.setCursor(i);
            l.setSelected(i, true);
            e.box().UpdateSelectionFlags();
            return;
        }
}

void line(CommandEditor& e, const lmx::CommandEntry& entry)
{
    e.box().InsertCommandLine(entry.displayText, entry.commandLine);
}

void fill(CommandEditor& e, ScriptedParameterDialogs& params)
{
    block(e, params, lmx::BlockKind::Display, "01");
    at(e, "EOT");
    block(e, params, lmx::BlockKind::Message, "02");
    at(e, "ETX");
    line(e, lmx::textLine("Hello world"));
    line(e, lmx::escapeLine(lmx::esc::Font, "1"));
    block(e, params, lmx::BlockKind::Page, "03");
    at(e, "EOP");
    line(e, lmx::escapeLine(lmx::esc::Color, "2"));
    block(e, params, lmx::BlockKind::Line, "04");
    at(e, "EOL");
    line(e, lmx::textLine("A longer text line that the command box wraps at its width, "
                          "\"with a quoted part that is never broken\""));
    line(e, lmx::escapeLine(lmx::esc::HorPos, "FFF"));
    at(e, "EOP");
    line(e, lmx::separatorLine());
    at(e, "ETX");
    line(e, lmx::breakLine(false, "05000"));
    at(e, "<End>");
    line(e, lmx::breakLine(true, "00250"));
    line(e, lmx::hexLine("22 33 AA", "\x22\x33\xAA"));
    line(e, lmx::keyLine("F1", 0xA8, "7"));
    at(e, "ESC Color '2'");
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ScriptedDialogs user;
    ScriptedParameterDialogs params;

    QWidget window;
    window.setWindowTitle(QStringLiteral("NEWFILE.LMX  Orvanta"));
    CommandEditor editor(user, params, &window);
    QObject::connect(&editor, &CommandEditor::titleChanged, &window, &QWidget::setWindowTitle);

    auto* layout = new QHBoxLayout(&window);
    auto* group = new QGroupBox(QStringLiteral("Command Editor "), &window);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(editor.commandBox());
    layout->addWidget(group, 3);
    auto* tabs = new QTabWidget(&window);
    tabs->addTab(editor.hexBox(), QStringLiteral("Hex Data"));
    layout->addWidget(tabs, 2);
    window.resize(760, 420);

    fill(editor, params);
    window.show();

    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QTimer::singleShot(0, &window, [&] {
        editor.commandBox()->setFocus();
        gallery::announceReady(window, out);
    });
    return app.exec();
}
