#include "qt/QtMainWindow.h"

#include "editor/AppTexts.h"
#include "editor/GridForm.h"
#include "qt/QtChannelWindow.h"
#include "qt/QtChooserWindow.h"
#include "qt/QtColours.h"
#include "qt/QtCommandGuard.h"
#include "qt/QtDesign.h"
#include "qt/QtDialogOwner.h"
#include "qt/QtGridModel.h"
#include "qt/QtGridView.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QWindow>

QtMainWindow::QtMainWindow(QWidget* parent)
    : QMainWindow(parent)
    , model(new QtGridModel(this))
    , channel(new QtChannelWindow(this)) {
    setObjectName(QStringLiteral("GridForm"));
    setWindowTitle(texts::appTitle);
    buildMenus();
    auto* area = new QWidget(this);
    area->setObjectName(QStringLiteral("ClientArea"));
    setCentralWidget(area);
    buildControls(area);
    // The grid follows the client area, which is the area below the menu bar.
    area->installEventFilter(this);
    resize(toPixels(TwipSize{11190, 7845}, *this) + QSize(0, menuBar()->sizeHint().height()));
}

void QtMainWindow::attach(GridForm& logic, QtCommandGuard& commands) {
    form = &logic;
    guard = &commands;
}

template <typename Sender, typename Signal>
void QtMainWindow::forward(Sender* sender, Signal signal, void (GridForm::*handler)()) {
    connect(sender, signal, this, [this, handler] {
        if (form) {
            guard->run([this, handler] { (form->*handler)(); });
        }
    });
}

QAction* QtMainWindow::addBarEntry(const QString& name, const QString& caption) {
    // An entry straight on the bar, without a drop-down, acts when it is chosen there.
    QAction* entry = menuBar()->addAction(caption);
    entry->setObjectName(name);
    return entry;
}

void QtMainWindow::buildMenus() {
    forward(addBarEntry(QStringLiteral("NewMenu"), QStringLiteral("&New")), &QAction::triggered,
            &GridForm::onNewMenu);
    forward(addBarEntry(QStringLiteral("OpenMenu"), QStringLiteral("&Open")), &QAction::triggered,
            &GridForm::onOpenMenu);
    forward(addBarEntry(QStringLiteral("SaveAsMenu"), QStringLiteral("Save &As")), &QAction::triggered,
            &GridForm::onSaveAsMenu);
    forward(addBarEntry(QStringLiteral("ReadMenu"), QStringLiteral("&Read Data")), &QAction::triggered,
            &GridForm::onReadMenu);

    QMenu* reset = menuBar()->addMenu(QStringLiteral("Rese&t"));
    reset->setObjectName(QStringLiteral("ResetMenu"));
    reset->menuAction()->setObjectName(QStringLiteral("ResetMenu"));
    QAction* sceneReset = reset->addAction(QStringLiteral("&This Scene"));
    sceneReset->setObjectName(QStringLiteral("SceneResetMenu"));
    forward(sceneReset, &QAction::triggered, &GridForm::onSceneResetMenu);
    QAction* allReset = reset->addAction(QStringLiteral("&All Scenes"));
    allReset->setObjectName(QStringLiteral("AllResetMenu"));
    forward(allReset, &QAction::triggered, &GridForm::onAllResetMenu);

    forward(addBarEntry(QStringLiteral("CommsMenu"), QStringLiteral("&Change Comms")), &QAction::triggered,
            &GridForm::onCommsMenu);
    forward(addBarEntry(QStringLiteral("ExitMenu"), QStringLiteral("E&xit")), &QAction::triggered,
            &GridForm::onExitMenu);
}

void QtMainWindow::buildControls(QWidget* area) {
    gridView = new QtGridView(*model, area);
    gridView->setGeometry(toPixels(TwipRect{360, 840, 10815, 6735}, *area));
    gridView->setAccessibleName(QStringLiteral("Scene levels"));
    gridView->setAccessibleDescription(QStringLiteral("One row per channel, one column per scene"));
    forward(gridView, &QtGridView::gridClicked, &GridForm::onGridClick);

    QPushButton* nextBtn = placeButton(area, QStringLiteral("NextBtn"), QStringLiteral("&Go to Next Scene"),
                                       {120, 120, 1935, 615}, QStringLiteral("Click to select next scene"));
    QFont bold = nextBtn->font();
    bold.setWeight(QFont::Bold);
    nextBtn->setFont(bold);
    forward(nextBtn, &QPushButton::clicked, &GridForm::onNextBtn);

    // A frame without a title around the scene-number box and its button.
    auto* frame = placeControl<QGroupBox>(area, QStringLiteral("Frame1"), {2400, 0, 2895, 735});
    QPushButton* setBtn = placeButton(frame, QStringLiteral("SetBtn"), QStringLiteral("&Select Scene"),
                                      {240, 240, 1455, 375}, QStringLiteral("Select scene by number"));
    forward(setBtn, &QPushButton::clicked, &GridForm::onSetBtn);
    sceneNumber = placeControl<QLineEdit>(frame, QStringLiteral("Text1"), {2040, 240, 615, 285});
    sceneNumber->setAccessibleName(QStringLiteral("Scene number"));

    saveSceneBtn = placeButton(area, QStringLiteral("savescenebtn"), QStringLiteral("Sa&ve Scene"),
                               {5520, 240, 1695, 375}, QStringLiteral("Save Scene"));
    // Shown only once the controller has said it is a Mk2; a hidden button's Alt+V does nothing.
    saveSceneBtn->hide();
    forward(saveSceneBtn, &QPushButton::clicked, &GridForm::onSaveSceneBtn);

    QPushButton* exitBtn = placeButton(area, QStringLiteral("ExitBtn"), QStringLiteral("E&xit"),
                                       {7440, 240, 975, 375}, QStringLiteral("End programme"));
    // The menu entry "E&xit" holds Alt+X for the whole window; two holders would make the key
    // ambiguous and it would only move the focus. The button keeps its underlined x.
    if (!menuBar()->isNativeMenuBar()) {
        exitBtn->setShortcut(QKeySequence());
    }
    forward(exitBtn, &QPushButton::clicked, &GridForm::onExitBtn);

    statusLine = placeControl<QLineEdit>(area, QStringLiteral("Text2"), {8760, 240, 2055, 285});
    statusLine->setText(QStringLiteral("Text2"));
    statusLine->setAccessibleName(QStringLiteral("Status"));

    setTabOrder(gridView, nextBtn);
    setTabOrder(nextBtn, setBtn);
    setTabOrder(setBtn, exitBtn);
    setTabOrder(exitBtn, sceneNumber);
    setTabOrder(sceneNumber, statusLine);
    setTabOrder(statusLine, saveSceneBtn);
    gridView->setFocus();
}

void QtMainWindow::showStatus(const QString& text, Colour background) {
    statusLine->setText(text);
    statusBackground = background;
    colourStatusLine();
    // Painted now, not when the event loop next runs: the caller may go on into work that does not wait.
    statusLine->repaint();
}

void QtMainWindow::colourStatusLine() {
    if (!statusBackground) {
        return;
    }
    QPalette palette = statusLine->palette();
    palette.setColor(QPalette::Base, toQColor(*statusBackground));
    palette.setColor(QPalette::Text, textColourOn(*statusBackground));
    statusLine->setPalette(palette);
}

void QtMainWindow::showWindow() {
    show();
    // A box shown next is placed over the window, so the window manager must have placed the
    // window first; it has once the window is on the screen.
    QDeadlineTimer placed(std::chrono::seconds(1));
    while (windowHandle() && !windowHandle()->isExposed() && !placed.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
}

QString QtMainWindow::sceneNumberText() const {
    return sceneNumber->text();
}

void QtMainWindow::setSceneNumberText(const QString& text) {
    sceneNumber->setText(text);
    // The box shows the current scene; the grid's headers tell a screen reader which it is.
    model->setCurrentScene(text.toInt());
}

void QtMainWindow::setSaveSceneVisible(bool visible) {
    saveSceneBtn->setVisible(visible);
}

TwipSize QtMainWindow::innerSize() const {
    if (isMinimized()) {
        return {};
    }
    return toTwips(centralWidget()->size(), *centralWidget());
}

std::optional<std::int16_t> QtMainWindow::chooseChannels() {
    QtChooserWindow chooser(this);
    const std::optional<std::int16_t> chosen = chooser.choose();
    QtDialogOwner::giveFocusBack(this);
    return chosen;
}

void QtMainWindow::endProgram() {
    close();
    QCoreApplication::quit();
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        resized();
    }
    return QMainWindow::eventFilter(watched, event);
}

void QtMainWindow::changeEvent(QEvent* event) {
    // A window restored from its minimised state may keep its size and get no resize.
    if (event->type() == QEvent::WindowStateChange && !isMinimized()) {
        resized();
    }
    // The desktop changed its palette: the button face the status line shows when idle changed too.
    if (event->type() == QEvent::PaletteChange) {
        colourStatusLine();
    }
    QMainWindow::changeEvent(event);
}

void QtMainWindow::resized() {
    // Not a command: it only places the grid, touching no cell, port or state a command uses, so it
    // runs during a command's waits too, and a window resized during a long read keeps its layout.
    if (form) {
        form->onResize();
    }
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    // The channel range dialog goes with the main window, so the program ends and the dialog's
    // buttons never act on a grid that is gone.
    channel->hide();
    QMainWindow::closeEvent(event);
}
