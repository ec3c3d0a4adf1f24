#include "main/QtEditor.h"

#include "dialogs/QtChannelWindow.h"
#include "platform/QtGridModel.h"

#include <QApplication>
#include <QFont>

QtEditor::QtEditor(const EditorParts& parts)
    : form({window.grid(), parts.comm, parts.fileDialog, parts.messages, parts.inputs, parts.clock, window,
            window.channelWindow()})
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
