#pragma once
// The whole main window offscreen: a program folder of its own, scripted user, parameter and
// settings dialogs, the real serial backend (nothing opens a port until Transmit), a wall
// clock that stands still, and a record of the help pages opened and the About boxes shown.

#include "bus/repeat_run.h"
#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "files/settings_file.h"
#include "frames/answer_frame.h"
#include "frames/send_receive_frame.h"
#include "port/qt_serial_backend.h"
#include "settings/settings_dialogs.h"
#include "tests/editor/command_box_support.h"
#include "tests/files/file_test_support.h"
#include "tests/support/qt_wait.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/support/scripted_parameter_dialogs.h"
#include "window/main_actions.h"
#include "window/main_form.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace mainformtest {

using testsupport::runPending;
using testsupport::waitUntil;

// The user dialogs, each step also noting the status text shown while it is asked.
struct StatusDialogs : ScriptedDialogs {
    std::function<QString()> status;
    QStringList statusAtSteps;
    StatusDialogs() { onStep = [this] { statusAtSteps << (status ? status() : QString()); }; }
};

// Answers each settings dialog with the record queued for it (Ok), or cancels.
class FakeSettingsDialogs : public SettingsDialogs {
public:
    std::optional<lmx::TGeneralSettings> nextGeneral;
    std::optional<lmx::TDisplaySettings> nextDisplay;
    std::optional<lmx::TSerialSettings> nextSerial;
    std::optional<std::string> nextList; // the list Transmit to Displays is given
    std::optional<lmx::RepeatRequest> nextRepeat;
    std::string repeatDisplayList; // the display list Repeat Transmission was shown
    std::function<QString()> status;
    QStringList calls; // "General: <status>", ...

    bool editGeneral(lmx::TGeneralSettings& r) override { return ask("General", nextGeneral, r); }
    bool editDisplay(lmx::TDisplaySettings& r) override { return ask("Display", nextDisplay, r); }
    bool editSerial(lmx::TSerialSettings& r) override { return ask("Serial", nextSerial, r); }
    bool scanBus(lmx::TDisplaySettings& record, lmx::PacketExchange&, bool) override
    {
        return ask("Scan Bus", nextDisplay, record);
    }
    bool editDisplayList(lmx::TDisplaySettings& record) override
    {
        std::optional<lmx::TDisplaySettings> next;
        if (nextList)
            next = record, next->NetNrList = *std::exchange(nextList, std::nullopt);
        return ask("Displays", next, record);
    }
    bool editRepeat(lmx::RepeatRequest& request, const std::string& displayList) override
    {
        repeatDisplayList = displayList;
        return ask("Repeat", nextRepeat, request);
    }

private:
    template <class R>
    bool ask(const char* name, std::optional<R>& next, R& record)
    {
        calls << QString::fromLatin1(name) + QStringLiteral(": ") + (status ? status() : QString());
        if (!next)
            return false;
        record = *next;
        next.reset();
        return true;
    }
};

class FixedWallClock : public lmx::WallClock {
public:
    lmx::LocalDateTime now() const override { return {2024, 3, 31, 14, 2, 7, 315}; }
};

struct WindowRig {
    QTemporaryDir folder;
    StatusDialogs dialogs;
    FixedWallClock wallClock;
    ScriptedParameterDialogs* params = nullptr;
    FakeSettingsDialogs* settings = nullptr;
    std::vector<QUrl> opened;
    bool browser = true; // whether a browser starts for an opened page
    int aboutBoxes = 0;
    std::unique_ptr<TMainForm> window;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> modelTesters;

    WindowRig() { QCoreApplication::setApplicationName(QStringLiteral("Orvanta")); }
    ~WindowRig() { window.reset(); }

    QString path(const QString& name) const { return folder.filePath(name); }
    QString settingsPath() const { return path(QStringLiteral("ORVANTA.SET")); }

    // An ORVANTA.SET holding these records.
    void writeSettings(const lmx::TSerialSettings& serial, const lmx::TDisplaySettings& display,
                       const lmx::TGeneralSettings& general)
    {
        writeFile(settingsPath(), lmx::settingsFileText(serial, display, general));
    }

    static void writeFile(const QString& name, const std::string& bytes)
    {
        filetest::writeFile(name.toStdString(), bytes);
    }
    static std::string readFile(const QString& name)
    {
        return filetest::readFile(name.toStdString());
    }

    TMainForm& start()
    {
        MainFormServices s;
        s.programFolder = folder.path();
        s.dialogs = &dialogs;
        s.wallClock = &wallClock;
        s.steadyClock = &lmx::SystemSteadyClock::instance();
        s.makeParameterDialogs = [this](QWidget*) {
            auto p = std::make_unique<ScriptedParameterDialogs>();
            params = p.get();
            return p;
        };
        s.makeSettingsDialogs = [this](QWidget*) {
            auto p = std::make_unique<FakeSettingsDialogs>();
            settings = p.get();
            return p;
        };
        s.makeSerialBackend = [] { return std::make_unique<lmx::QtSerialBackend>(); };
        s.openUrl = [this](const QUrl& url, const std::function<void()>& notShown) {
            opened.push_back(url);
            if (!browser)
                notShown();
        };
        s.showAbout = [this](QWidget*) { ++aboutBoxes; };
        window = std::make_unique<TMainForm>(s);
        for (QAbstractItemModel* model : {window->editor().commandBox()->model(),
                                          window->answerFrame().AnswerBox()->model(),
                                          window->sendReceiveFrame().ReceiveBox()->model()})
            modelTesters.push_back(std::make_unique<QAbstractItemModelTester>(
                    model, QAbstractItemModelTester::FailureReportingMode::Fatal));
        dialogs.status = [this] { return window ? window->statusText() : QString(); };
        settings->status = dialogs.status;
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        QApplication::setActiveWindow(window.get());
        runPending();
        return *window;
    }

    // A started window with a settings file, so nothing is asked at start.
    TMainForm& startQuietly(const lmx::TGeneralSettings& general = lmx::TGeneralSettings())
    {
        writeSettings({}, {}, general);
        return start();
    }

    CommandBox& box() { return window->editor().box(); }
    AnswerBoxEditor& answers() { return window->answerFrame().editor(); }
    MainActions& actions() { return window->actions(); }

    std::vector<std::string> displayTexts() { return textsOf(box().list()); }
    std::vector<std::string> answerTexts() { return shownTexts(answers()); }

    // Loads a command file with these bytes through the Load action.
    bool load(const std::string& bytes, const QString& name = QStringLiteral("list.lmx"))
    {
        writeFile(path(name), bytes);
        dialogs.setNextFileName(path(name));
        return window->DoImportLmxExecute();
    }

    // Closes the window as the user would.
    void close() { window->close(); }
};

// A window started quietly, for the cases that need nothing else at start.
class QuietWindow : public ::testing::Test {
protected:
    WindowRig rig;
    TMainForm& w = rig.startQuietly();
};

} // namespace mainformtest
