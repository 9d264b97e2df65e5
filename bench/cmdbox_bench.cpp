// The command box on a 10,000-line list of nested blocks: the editing operations on the
// logic alone, the same operations with both views attached (model signals, selection and
// layout of the command box and the hex box included), and a full relayout after a resize.
#include "commandbox/command_list_model.h"
#include "editor/command_editor.h"
#include "protocol/hex.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"
#include "widgets/ovel_list_box.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kBlocks = 100;
constexpr int kTextsPerBlock = 92; // + 8 markers: 100 lines per display block

// 100 display blocks, each holding a message, page and line block with 92 text lines.
void fill(CommandBox& box)
{
    CommandList::Batch batch(box.list());
    box.list().clear();
    for (int b = 0; b < kBlocks; ++b) {
        const std::string n = lmx::byteToHex(static_cast<uint8_t>(b % 100));
        int indent = 2;
        for (lmx::BlockKind k : lmx::kBlockKinds) {
            const lmx::CommandEntry e = lmx::blockStartLine(k, n);
            box.addLine(e.displayText, e.commandLine, indent);
            indent += 8;
        }
        for (int t = 0; t < kTextsPerBlock; ++t) {
            const std::string text = "Text line " + std::to_string(t) + " of block " + n;
            box.addLine("'" + text + "'", text, indent);
        }
        for (lmx::BlockKind k : {lmx::BlockKind::Line, lmx::BlockKind::Page,
                                 lmx::BlockKind::Message, lmx::BlockKind::Display}) {
            indent -= 8;
            const lmx::CommandEntry e = lmx::blockEndLine(k);
            box.addLine(e.displayText, e.commandLine, indent);
        }
    }
    box.addEndLine();
}

// The logic alone, or the command editor with both views shown.
struct Rig {
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    std::unique_ptr<CommandBox> core;
    std::unique_ptr<BlockEditor> coreBlocks;
    std::unique_ptr<CommandClipboard> coreClipboard;
    std::unique_ptr<QWidget> host;
    std::unique_ptr<CommandEditor> editor;

    explicit Rig(bool views)
    {
        if (views) {
            host = std::make_unique<QWidget>();
            editor = std::make_unique<CommandEditor>(user, params, host.get());
            auto* layout = new QHBoxLayout(host.get());
            layout->addWidget(editor->commandBox());
            layout->addWidget(editor->hexBox());
            host->resize(560, 400);
            host->show();
        } else {
            core = std::make_unique<CommandBox>();
            coreBlocks = std::make_unique<BlockEditor>(*core, params, user);
            coreClipboard = std::make_unique<CommandClipboard>(*core, *coreBlocks);
        }
        fill(box());
        settle();
    }
    CommandBox& box() { return editor ? editor->box() : *core; }
    BlockEditor& blocks() { return editor ? editor->blocks() : *coreBlocks; }
    CommandClipboard& clipboard() { return editor ? editor->clipboard() : *coreClipboard; }
    void settle()
    {
        if (host)
            QCoreApplication::processEvents();
    }
    void click(int row)
    {
        CommandList& l = box().list();
        l.deselectAll();
        l.setCursor(row);
        l.setSelected(row, true);
        box().UpdateSelectionFlags();
    }
};

void insertAtTop(benchmark::State& state, bool views)
{
    Rig r(views);
    for (auto _ : state) {
        r.click(0);
        r.box().InsertCommandLine("'new line'", "new line");
        r.settle();
        state.PauseTiming();
        r.box().list().remove(0, 0);
        r.settle();
        state.ResumeTiming();
    }
}

void undoInsert(benchmark::State& state, bool views)
{
    Rig r(views);
    for (auto _ : state) {
        state.PauseTiming();
        r.click(0);
        r.box().InsertCommandLine("'new line'", "new line");
        r.settle();
        state.ResumeTiming();
        r.clipboard().Undo();
        r.settle();
    }
}

void paste100(benchmark::State& state, bool views)
{
    Rig r(views);
    CommandList& l = r.box().list();
    r.click(5);
    l.selectRange(5, 104);
    r.clipboard().Copy();
    for (auto _ : state) {
        state.PauseTiming();
        r.click(5000);
        r.settle();
        state.ResumeTiming();
        r.clipboard().Paste();
        r.settle();
        state.PauseTiming();
        r.clipboard().Undo();
        r.settle();
        state.ResumeTiming();
    }
}

void selectDisplayBlock(benchmark::State& state, bool views)
{
    Rig r(views);
    const int eot = 50 * 100 + 99; // the EOT of the 51st display block
    for (auto _ : state) {
        r.click(eot);
        r.blocks().SelectBlock();
        r.settle();
    }
    if (!r.box().blockState().DisplayBlockSelected)
        state.SkipWithError("no display block selected");
}

// A reader that adds its lines one by one, without grouping them.
void addLinesOneByOne(benchmark::State& state)
{
    Rig r(true);
    for (auto _ : state) {
        r.box().list().clear();
        for (int i = 0; i < 10000; ++i)
            r.box().addLine("'a line of text'", "a line of text", 2);
        r.box().addEndLine();
        r.settle();
    }
}

void relayoutAfterResize(benchmark::State& state)
{
    Rig r(true);
    int width = 560;
    for (auto _ : state) {
        width = width == 560 ? 620 : 560;
        r.host->resize(width, 400);
        r.settle();
        // Force the layout now: the views lay their lines out lazily.
        r.editor->commandBox()->visualRect(r.editor->model().index(0));
        r.editor->hexBox()->visualRect(r.editor->model().index(0));
    }
}

} // namespace

BENCHMARK_CAPTURE(insertAtTop, core, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(insertAtTop, views, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(undoInsert, core, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(undoInsert, views, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste100, core, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(paste100, views, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(selectDisplayBlock, core, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(selectDisplayBlock, views, true)->Unit(benchmark::kMillisecond);
BENCHMARK(relayoutAfterResize)->Unit(benchmark::kMillisecond);
BENCHMARK(addLinesOneByOne)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
