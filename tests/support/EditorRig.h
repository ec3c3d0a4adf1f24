#pragma once

#include "editor/GridForm.h"
#include "qt/QtClock.h"
#include "qt/QtGridModel.h"
#include "support/ControllerModel.h"
#include "support/FakeChannelView.h"
#include "support/FakeMainWindowView.h"
#include "support/InProcessLine.h"
#include "support/NotingSerialControl.h"
#include "support/PtyController.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedInputBox.h"
#include "support/ScriptedMessageBox.h"
#include "support/Traffic.h"

#include <QStringList>

// The texts of a grid column, rows 1 to the last.
QStringList columnTexts(const QtGridModel& grid, int col);
// The controller's levels of a scene once the commands sent by now have ended, as the grid shows them.
QStringList sceneLevels(ControllerModel& controller, Clock::Time now, int scene);

// The real serial control and the real clock, with the controller played on a pseudo-terminal that
// stands for every port number and hears of every write as it is made. The controller is set up
// before the program first opens the port, which switches the device on; from then on it is seen
// through controllerNow() alone.
struct PtyLine {
    PtyLine(ControllerModel::Generation generation, int channelsPerScene);
    void failNextOpen() { openFails = true; }
    // A copy of the controller after every command that has ended by now.
    ControllerModel& controllerNow();
    void clearLog() { device.clearLog(); }

    QtClock clock;
    ControllerModel controller;
    PtyController device;
    NotingSerialControl port;

private:
    bool openFails = false;
    ControllerModel seen;
};

// The main window's logic on a line to the controller, the in-memory grid and scripted boxes, so
// that each test states only its own answers and checks.
template <class Line> class BasicEditorRig : public Line {
public:
    explicit BasicEditorRig(ControllerModel::Generation generation = ControllerModel::Generation::Mk1,
                            int channelsPerScene = 512);

    // Runs the start with these answers to the port and speed prompts; true when the window showed.
    bool start(const QString& portAnswer = QStringLiteral("1"),
               const QString& speedAnswer = QStringLiteral("0"));
    // Starts on a port that cannot be opened, so with a new grid, the generation unknown and the
    // port closed; then forgets that start.
    bool startOffline();
    // Starts offline, then opens the port at the speed code: the controller was plugged in after the start.
    bool startThenConnect(std::int16_t speed = 0);
    // Gives every level of the controller a value of its own, starts with it, then forgets that start.
    bool startPatterned();
    // Forgets the traffic, messages, prompts and status lines so far, to look at what comes next alone.
    void forget();

    QList<Bytes> sent() { return framesOf(this->controllerNow()); }
    QStringList columnTexts(int col) const { return ::columnTexts(grid, col); }
    // The texts of every data column.
    QList<QStringList> allCells() const;
    QStringList controllerLevels(int scene) {
        return sceneLevels(this->controllerNow(), this->clock.now(), scene);
    }
    // For each data column: "cyan", "white", "unset" (never painted) or "mixed".
    QStringList paints() const;

    QtGridModel grid;
    ScriptedMessageBox messages;
    ScriptedInputBox inputs;
    ScriptedFileDialog files;
    FakeMainWindowView window;
    FakeChannelView channelView;
    GridForm form;
};

using EditorRig = BasicEditorRig<InProcessLine>;
using PtyEditorRig = BasicEditorRig<PtyLine>;
