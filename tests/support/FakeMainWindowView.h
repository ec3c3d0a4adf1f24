#pragma once

#include "editor/MainWindowView.h"
#include "platform/Clock.h"

#include <QList>

// One message of the status line.
struct StatusLine {
    QString text;
    Colour background = 0;
    friend bool operator==(const StatusLine&, const StatusLine&) = default;
    friend char* toString(const StatusLine& line);
};

// The main window without a window: it keeps what the logic showed, and when.
class FakeMainWindowView : public MainWindowView {
public:
    explicit FakeMainWindowView(Clock& clock)
        : time(clock) {}

    void showStatus(const QString& text, Colour background) override;
    QString sceneNumberText() const override { return sceneNumber; }
    void setSceneNumberText(const QString& text) override { sceneNumber = text; }
    void setSaveSceneVisible(bool visible) override { saveSceneVisible = visible; }
    void showWindow() override { ++windowShown; }
    TwipSize innerSize() const override { return inner; }
    // Takes the next scripted answer; closed through its frame once the script has run out.
    std::optional<std::int16_t> chooseChannels() override;
    void endProgram() override { ++programEnded; }

    QList<StatusLine> statuses;
    QList<Clock::Time> statusTimes;
    QString sceneNumber;
    std::optional<bool> saveSceneVisible; // nothing while never set
    int windowShown = 0;
    TwipSize inner;
    QList<std::optional<std::int16_t>> chooserAnswers;
    int chooserShown = 0;
    int programEnded = 0;

private:
    Clock& time;
};
