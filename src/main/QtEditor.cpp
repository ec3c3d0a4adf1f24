#include "main/QtEditor.h"

#include "dialogs/QtChannelWindow.h"
#include "platform/QtGridModel.h"

#include <QApplication>
#include <QFont>

QtEditor::QtEditor(SerialControl& comm, FileDialog& fileDialog, MessageBox& messages, InputBox& inputs,
                   Clock& clock)
    : form({window.grid(), comm, fileDialog, messages, inputs, clock, window, window.channelWindow()})
    , channelRange(form, window.channelWindow()) {
    window.attach(form, guard);
    window.channelWindow().attach(channelRange, guard);
}

void QtEditor::useDesignFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}

bool QtEditor::start() {
    bool started = false;
    guard.run([this, &started] { started = form.onLoad(); });
    return started && window.isVisible();
}
