#pragma once

#include "editor/ChannelView.h"

// The channel range dialog without a window: its three boxes and how often it was shown or closed.
class FakeChannelView : public ChannelView {
public:
    QString firstChannelText() const override { return first; }
    void setFirstChannelText(const QString& text) override { first = text; }
    QString lastChannelText() const override { return last; }
    void setLastChannelText(const QString& text) override { last = text; }
    QString valueText() const override { return value; }
    void setValueText(const QString& text) override { value = text; }
    void focusValue() override { valueFocused = true; }
    void showModeless() override { ++shownCount; }
    void closeDialog() override { ++closedCount; }

    QString first;
    QString last;
    QString value;
    bool valueFocused = false;
    int shownCount = 0;
    int closedCount = 0;
};
