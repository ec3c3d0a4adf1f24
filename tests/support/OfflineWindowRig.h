#pragma once

#include "qt/QtEditor.h"
#include "support/InProcessLine.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedInputBox.h"
#include "support/ScriptedMessageBox.h"

#include <QString>
#include <QTest>

// The program's windows as it composes them, with scripted boxes and a port that is never opened,
// on a clock that stands still unless slept on: for tests of the windows themselves.
struct OfflineWindowRig : InProcessLine {
    OfflineWindowRig()
        : InProcessLine(ControllerModel::Generation::Mk1, 512) {}

    // Shows the main window and waits until it is active; false when it never became so.
    bool showActive() {
        window.show();
        window.activateWindow();
        return QTest::qWaitForWindowActive(&window);
    }

    // The main window's control of that name.
    template <typename Control> Control* control(const QString& name) {
        return editor.window.centralWidget()->findChild<Control*>(name);
    }

    ScriptedFileDialog files;
    ScriptedMessageBox messages;
    ScriptedInputBox inputs;
    QtEditor editor{port, files, messages, inputs, clock};
    QtMainWindow& window = editor.window;
    GridForm& form = editor.form;
};
