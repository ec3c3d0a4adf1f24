#pragma once

#include "main/GridForm.h"
#include "platform/QtGridModel.h"
#include "support/ControllerEmulator.h"
#include "support/ControllerModel.h"
#include "support/FakeChannelView.h"
#include "support/FakeClock.h"
#include "support/FakeMainWindowView.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedInputBox.h"
#include "support/ScriptedMessageBox.h"
#include "support/Traffic.h"

#include <QStringList>

// The texts of a grid column, rows 1 to the last.
QStringList columnTexts(const QtGridModel& grid, int col);
// The controller's levels of a scene once the commands sent by now have ended, as the grid shows them.
QStringList sceneLevels(ControllerModel& controller, Clock::Time now, int scene);

// The main window's logic on a fake clock, an emulated controller, the in-memory grid and
// scripted boxes, so that each test states only its own answers and checks.
class EditorRig {
public:
    explicit EditorRig(ControllerModel::Generation generation = ControllerModel::Generation::Mk1,
                       int channelsPerScene = 512);

    // Runs the start with these answers to the port and speed prompts; true when the window showed.
    bool start(const QString& portAnswer = QStringLiteral("1"),
               const QString& speedAnswer = QStringLiteral("0"));
    // Starts on a port that cannot be opened, so with a new grid, the generation unknown and the
    // port closed; then forgets that start.
    bool startOffline();
    // Forgets the traffic, messages, prompts and status lines so far, to look at what comes next alone.
    void forget();

    QList<Bytes> sent() const { return framesOf(controller); }
    QStringList columnTexts(int col) const { return ::columnTexts(grid, col); }
    // The texts of every data column.
    QList<QStringList> allCells() const;
    // The controller after every command that has ended by now.
    ControllerModel& controllerNow();
    QStringList controllerLevels(int scene) { return sceneLevels(controller, clock.now(), scene); }
    // For each data column: "cyan", "white", "unset" (never painted) or "mixed".
    QStringList paints() const;

    FakeClock clock;
    ControllerModel controller;
    ControllerEmulator port;
    QtGridModel grid;
    ScriptedMessageBox messages;
    ScriptedInputBox inputs;
    ScriptedFileDialog files;
    FakeMainWindowView window;
    FakeChannelView channelView;
    GridForm form;
};
