#pragma once

#include "main/QtEditor.h"
#include "support/InProcessLine.h"
#include "support/ScriptedFileDialog.h"
#include "support/ScriptedInputBox.h"
#include "support/ScriptedMessageBox.h"

#include <QString>

// The program's windows as it composes them, with scripted boxes and a port that is never opened,
// on a clock that stands still unless slept on: for tests of the windows themselves.
struct OfflineWindowRig : InProcessLine {
    OfflineWindowRig()
        : InProcessLine(ControllerModel::Generation::Mk1, 512) {}

    // The main window's control of that name.
    template <typename Control> Control* control(const QString& name) {
        return editor.window.centralWidget()->findChild<Control*>(name);
    }

    ScriptedFileDialog files;
    ScriptedMessageBox messages;
    ScriptedInputBox inputs;
    QtEditor editor{port, files, messages, inputs, clock};
};
