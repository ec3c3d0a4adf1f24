#pragma once

#include "editor/MainWindowView.h"

#include <QMainWindow>

#include <optional>

class GridForm;
class QLineEdit;
class QPushButton;
class QtChannelWindow;
class QtCommandGuard;
class QtGridModel;
class QtGridView;

// The main window: the row of buttons and boxes, the scene grid and the menu bar. It owns the grid's
// cells and the channel range dialog, and hands every event to the window's logic.
class QtMainWindow final : public QMainWindow, public MainWindowView {
    Q_OBJECT
public:
    explicit QtMainWindow(QWidget* parent = nullptr);

    // From now on buttons, menu entries, grid clicks and resizes reach the logic; every handler but
    // the resize runs as a command of the guard.
    void attach(GridForm& logic, QtCommandGuard& commands);

    QtGridModel& grid() { return *model; }
    QtChannelWindow& channelWindow() { return *channel; }

    void showStatus(const QString& text, Colour background) override;
    QString sceneNumberText() const override;
    void setSceneNumberText(const QString& text) override;
    void setSaveSceneVisible(bool visible) override;
    void showWindow() override;
    TwipSize innerSize() const override;
    std::optional<std::int16_t> chooseChannels() override;
    void endProgram() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildControls(QWidget* area);
    QAction* addBarEntry(const QString& name, const QString& caption);
    template <typename Sender, typename Signal>
    void forward(Sender* sender, Signal signal, void (GridForm::*handler)());
    void resized();
    // Gives the status line the colours of its background: a fixed colour, or the desktop's button
    // face as the desktop's palette has it now.
    void colourStatusLine();

    GridForm* form = nullptr;
    QtCommandGuard* guard = nullptr;
    QtGridModel* model;
    QtChannelWindow* channel;
    QtGridView* gridView = nullptr;
    QLineEdit* sceneNumber = nullptr;
    QLineEdit* statusLine = nullptr;
    std::optional<Colour> statusBackground; // none until a message has been shown
    QPushButton* saveSceneBtn = nullptr;
};
