#pragma once

#include <QString>

// The channel range dialog's window: three text boxes and its own showing and closing.
class ChannelView {
public:
    virtual ~ChannelView() = default;

    virtual QString firstChannelText() const = 0; // Text1
    virtual void setFirstChannelText(const QString& text) = 0;
    virtual QString lastChannelText() const = 0; // Text2
    virtual void setLastChannelText(const QString& text) = 0;
    virtual QString valueText() const = 0; // Text3
    virtual void setValueText(const QString& text) = 0;

    virtual void focusValue() = 0;
    // Shows the dialog without blocking the main window; an open dialog is brought forward.
    virtual void showModeless() = 0;
    virtual void closeDialog() = 0;
};
