#pragma once

#include "platform/Colour.h"
#include "platform/Twips.h"

#include <QString>

#include <cstdint>
#include <optional>

// What the main window's logic needs of its window, beside the grid: the status line, the
// scene-number box, the Save Scene button, the chooser, and the window's own life.
class MainWindowView {
public:
    virtual ~MainWindowView() = default;

    // Sets the status line's text, then its background, and repaints it at once: callers go
    // straight on into work that need not give the window a chance to paint itself.
    virtual void showStatus(const QString& text, Colour background) = 0;

    virtual QString sceneNumberText() const = 0;
    virtual void setSceneNumberText(const QString& text) = 0;
    virtual void setSaveSceneVisible(bool visible) = 0;

    virtual void showWindow() = 0;
    // The client area in twips; empty while the window is minimised.
    virtual TwipSize innerSize() const = 0;

    // The channels-per-scene chooser, shown modally: the size code picked with OK, or nothing
    // when the chooser was closed through its frame.
    virtual std::optional<std::int16_t> chooseChannels() = 0;

    // Unloads the main window and ends the program.
    virtual void endProgram() = 0;
};
