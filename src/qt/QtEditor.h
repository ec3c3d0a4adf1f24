#pragma once

#include "editor/Channel.h"
#include "editor/GridForm.h"
#include "qt/QtCommandGuard.h"
#include "qt/QtMainWindow.h"

// The program's windows and their logic, composed as the program runs them, every handler a
// command of one guard.
class QtEditor {
public:
    // The parts between the windows and the outside world: the serial line, the file dialog, the
    // message and input boxes, and the clock.
    QtEditor(SerialControl& comm, FileDialog& fileDialog, MessageBox& messages, InputBox& inputs,
             Clock& clock);
    QtEditor(const QtEditor&) = delete;
    QtEditor& operator=(const QtEditor&) = delete;

    // The design's face and size for the whole application, kept whatever the desktop's theme sets.
    static void useDesignFont();

    // Runs the start sequence; false when the program ended during it: a bad answer to a start
    // prompt ends it before any window shows, and a window closed during the start ends it too.
    bool start();

    QtCommandGuard guard;
    QtMainWindow window;
    GridForm form;
    Channel channelRange;
};
