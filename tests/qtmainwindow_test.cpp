#include "dialogs/QtChannelWindow.h"
#include "main/GridForm.h"
#include "main/QtMainWindow.h"
#include "platform/QtClock.h"
#include "platform/QtColours.h"
#include "platform/QtCommandGuard.h"
#include "platform/QtDialogOwner.h"
#include "platform/QtGridModel.h"
#include "platform/QtMessageBox.h"
#include "platform/QtSerialControl.h"
#include "platform/QtTwips.h"
#include "support/ModalDialogDriver.h"
#include "support/PseudoTerminal.h"

#include <QCompleter>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace std::chrono_literals;

namespace {
// The platform parts the window does not provide, reduced to what these tests look at.
class NoPort final : public SerialControl {
public:
    void setCommPort(std::int16_t) override {}
    void setSettings(const QString&) override {}
    bool isOpen() const override { return false; }
    std::optional<SerialError> open() override { return std::nullopt; }
    void close() override {}
    QString deviceName() const override { return {}; }
    void output(const QByteArray&) override {}
    QByteArray input() override { return {}; }
    void waitForInput(std::chrono::microseconds) override {}
    std::optional<SerialError> takeFailure() override { return std::nullopt; }
};

class StoppedClock final : public Clock {
public:
    Time now() override { return {}; }
    void sleepUntil(Time) override {}
};

class NoFiles final : public FileDialog {
public:
    std::optional<QString> showOpen(const QString&, const QString&) override { return std::nullopt; }
    std::optional<QString> showSave(const QString&, const QString&) override { return std::nullopt; }
};

class NoAnswers final : public InputBox {
public:
    QString ask(const QString&, const QString&) override { return {}; }
};

class CountedQuestions final : public MessageBox {
public:
    void inform(const QString&) override {}
    bool confirm(const QString&) override {
        ++questions;
        return answer;
    }
    int questions = 0;
    bool answer = false;
};

// Counts the paint events a widget gets.
class PaintCounter final : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};
} // namespace

Q_DECLARE_METATYPE(Colour)

class QtMainWindowTest : public QObject {
    Q_OBJECT

    NoPort port;
    StoppedClock clock;
    NoFiles files;
    NoAnswers inputs;
    CountedQuestions messages;
    QtCommandGuard guard;
    std::unique_ptr<QtMainWindow> window;
    std::unique_ptr<GridForm> form;

    template <typename Control> Control* control(const QString& name) {
        return window->centralWidget()->findChild<Control*>(name);
    }

    // Runs a command that waits 100 ms, by a pause or for a reply that never comes, with the action
    // done 10 ms into the wait and the check made right after the wait, still inside the command.
    void commandWaiting(const QString& wait, const std::function<void()>& action,
                        const std::function<void()>& check) {
        PseudoTerminal line;
        QtSerialControl comm(
            [path = line.devicePath()](std::int16_t) -> std::optional<QString> { return path; });
        comm.setSettings(QStringLiteral("9600,n,8,2"));
        QVERIFY(line.isValid() && !comm.open());
        QObject actionScope; // a wait that ran no event loop must not leave the action for later
        bool acted = false;
        guard.run([&] {
            QTimer::singleShot(10ms, &actionScope, [&] {
                action();
                acted = true;
            });
            QtClock realClock;
            if (wait == QLatin1String("pause")) {
                realClock.sleepUntil(realClock.now() + 100ms);
            } else {
                comm.waitForInput(100ms);
            }
            check();
        });
        QVERIFY2(acted, "the wait ran no event loop");
    }

    static void waits_data() {
        QTest::addColumn<QString>("wait");
        QTest::newRow("pause") << "pause";
        QTest::newRow("reply wait") << "reply";
    }

    QRect gridRectFor(const QSize& area) {
        const TwipSize inner = toTwips(area, *window);
        return toPixels(TwipRect{100, 840, inner.width - 200, inner.height - 900}, *window);
    }

private slots:
    void init() {
        messages = CountedQuestions();
        window = std::make_unique<QtMainWindow>();
        form = std::make_unique<GridForm>(GridFormPlatform{window->grid(), port, files, messages, inputs,
                                                           clock, *window, window->channelWindow()});
        window->attach(*form, guard);
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

    void cleanup() {
        form.reset();
        window.reset();
    }

    void statusLineShowsAtOnce_data() {
        QTest::addColumn<Colour>("background");
        QTest::newRow("white") << colours::white;
        QTest::newRow("button face") << colours::buttonFace;
    }

    void statusLineShowsAtOnce() {
        QFETCH(Colour, background);
        auto* line = control<QLineEdit>(QStringLiteral("Text2"));
        QCOMPARE(line->text(), QStringLiteral("Text2"));
        PaintCounter counter;
        line->installEventFilter(&counter);
        // No event is handled in between: the caller goes straight on into a wait.
        window->showStatus(QStringLiteral("Reading scene 12"), background);
        QCOMPARE(line->text(), QStringLiteral("Reading scene 12"));
        QCOMPARE(line->palette().color(QPalette::Base), toQColor(background));
        QVERIFY(counter.paints > 0);
    }

    void gridFollowsTheClientArea_data() {
        QTest::addColumn<QSize>("windowSize");
        QTest::newRow("large") << QSize(900, 700);
        QTest::newRow("small") << QSize(400, 300);
    }

    void gridFollowsTheClientArea() {
        QFETCH(QSize, windowSize);
        auto* grid = control<QTableView>(QStringLiteral("Grid1"));
        window->resize(windowSize);
        const QSize area = window->centralWidget()->size();
        QCOMPARE(toTwips(area, *window), window->innerSize());
        QCOMPARE(grid->geometry(), gridRectFor(area));
    }

    void aMinimisedWindowHasNoClientArea() {
        auto* grid = control<QTableView>(QStringLiteral("Grid1"));
        const QRect before = grid->geometry();
        window->showMinimized();
        QVERIFY(window->isMinimized());
        QCOMPARE(window->innerSize(), TwipSize());
        form->onResize();
        QCOMPARE(grid->geometry(), before);
    }

    void altXAsksTheExitQuestionOnce_data() {
        QTest::addColumn<QString>("focus");
        QTest::newRow("grid") << "Grid1";
        QTest::newRow("scene number") << "Text1";
        QTest::newRow("exit button") << "ExitBtn";
    }

    void altXAsksTheExitQuestionOnce() {
        QFETCH(QString, focus);
        QWidget* focused = control<QWidget>(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key_X, Qt::AltModifier);
        QCOMPARE(messages.questions, 1);
        QVERIFY(window->isVisible());
    }

    void exitAnsweredYesEndsTheProgram() {
        messages.answer = true;
        control<QPushButton>(QStringLiteral("ExitBtn"))->click();
        QCOMPARE(messages.questions, 1);
        QVERIFY(!window->isVisible());
    }

    void altVSavesTheSceneOnlyWhileTheButtonShows() {
        auto* save = control<QPushButton>(QStringLiteral("savescenebtn"));
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
        QVERIFY(!save->isDown());
        window->setSaveSceneVisible(true);
        QTest::keyClick(window.get(), Qt::Key_V, Qt::AltModifier);
        QVERIFY(save->isDown());
    }

    void aClickOnTheCurrentSceneOpensTheChannelDialog() {
        form->nrows = 8;
        form->ncols = 3;
        form->layoutGrid();
        form->scene(2);
        QtGridModel& grid = window->grid();
        grid.setRow(5);
        grid.setCol(2);
        grid.setText(QStringLiteral("128"));
        grid.setRow(1);
        grid.setCol(1);
        QCoreApplication::processEvents();

        auto* view = control<QTableView>(QStringLiteral("Grid1"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(grid.index(4, 1)).center());
        QCOMPARE(grid.row(), 5);
        QCOMPARE(grid.col(), 2);
        QtChannelWindow& channel = window->channelWindow();
        QVERIFY(channel.isVisible());
        QCOMPARE(channel.firstChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.lastChannelText(), QStringLiteral("5"));
        QCOMPARE(channel.valueText(), QStringLiteral("128"));
    }

    void closingTheWindowClosesTheChannelDialogWithoutAQuestion() {
        window->channelWindow().showModeless();
        QVERIFY(window->channelWindow().isVisible());
        window->close();
        QVERIFY(!window->channelWindow().isVisible());
        QCOMPARE(messages.questions, 0);
    }
    void aWaitLetsTheWindowPaint_data() { waits_data(); }

    void aWaitLetsTheWindowPaint() {
        QFETCH(QString, wait);
        form->nrows = 8;
        form->ncols = 3;
        form->layoutGrid();
        QCoreApplication::processEvents();
        auto* view = control<QTableView>(QStringLiteral("Grid1"));
        PaintCounter counter;
        view->viewport()->installEventFilter(&counter);
        QtGridModel& grid = window->grid();
        int paintsInWait = 0;
        commandWaiting(
            wait,
            [&] {
                // Written in the wait, after the view had painted what came before it.
                grid.setRow(2);
                grid.setCol(2);
                grid.setText(QStringLiteral("77"));
                counter.paints = 0;
            },
            [&] { paintsInWait = counter.paints; });
        QVERIFY(paintsInWait > 0);
        QCOMPARE(view->model()->index(1, 1).data().toString(), QStringLiteral("77"));
    }

    void inputDuringACommandIsDropped_data() {
        QTest::addColumn<QString>("wait");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("effect"); // of the same input outside a command
        for (const char* wait : {"pause", "reply"}) {
            QTest::addRow("%s, click on Exit", wait) << wait << "click"
                                                     << "1 questions, box ''";
            QTest::addRow("%s, Alt+X", wait) << wait << "Alt+X"
                                             << "1 questions, box ''";
            QTest::addRow("%s, typing", wait) << wait << "typing"
                                              << "0 questions, box '7'";
            // A handler asked for by the program itself, not by input: refused as running inside another.
            QTest::addRow("%s, Exit clicked by the program", wait) << wait << "program"
                                                                   << "1 questions, box ''";
        }
    }

    void inputDuringACommandIsDropped() {
        QFETCH(QString, wait);
        QFETCH(QString, input);
        QFETCH(QString, effect);
        auto* exitBtn = control<QPushButton>(QStringLiteral("ExitBtn"));
        auto* box = control<QLineEdit>(QStringLiteral("Text1"));
        box->setFocus();
        const auto give = [&] {
            if (input == QLatin1String("click")) {
                QTest::mouseClick(exitBtn, Qt::LeftButton);
            } else if (input == QLatin1String("Alt+X")) {
                QTest::keyClick(box, Qt::Key_X, Qt::AltModifier);
            } else if (input == QLatin1String("typing")) {
                QTest::keyClick(box, Qt::Key_7);
            } else {
                exitBtn->click();
            }
        };
        const auto outcome = [&] {
            return QStringLiteral("%1 questions, box '%2'").arg(messages.questions).arg(box->text());
        };
        QString inWait;
        commandWaiting(wait, give, [&] { inWait = outcome(); });
        QCOMPARE(inWait, QStringLiteral("0 questions, box ''"));
        // Nothing held back comes later either.
        QTest::qWait(50);
        QCOMPARE(outcome(), QStringLiteral("0 questions, box ''"));
        give();
        QCOMPARE(outcome(), effect);
    }

    void aCloseDuringACommandWaitsForItsEnd_data() { waits_data(); }

    void aCloseDuringACommandWaitsForItsEnd() {
        QFETCH(QString, wait);
        window->channelWindow().showModeless();
        bool closedAtOnce = true;
        bool openAfterWait = false;
        commandWaiting(
            wait, [&] { closedAtOnce = window->close(); },
            [&] { openAfterWait = window->isVisible() && window->channelWindow().isVisible(); });
        QVERIFY(!closedAtOnce);
        QVERIFY(openAfterWait);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->channelWindow().isVisible());
        QCOMPARE(messages.questions, 0);
    }

    void aModalBoxOfTheCommandTakesInput_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("click") << false;
        QTest::newRow("Enter key") << true;
    }

    void aModalBoxOfTheCommandTakesInput() {
        QFETCH(bool, byKey);
        bool answered = false;
        guard.run([&] {
            whenModalShows([&](QWidget* box) {
                auto* ok = childOf<QPushButton>(box);
                if (byKey) {
                    QTest::keyClick(ok, Qt::Key_Return);
                } else {
                    QTest::mouseClick(ok, Qt::LeftButton);
                }
                answered = !box->isVisible();
                // A swallowed answer must not leave the test waiting on the box.
                box->hide();
            });
            QtMessageBox(QStringLiteral("title"), QtDialogOwner()).inform(QStringLiteral("Comms error"));
        });
        QVERIFY(answered);
    }

    // A completion list is a pop-up of its own, with no parent: it takes the keys while it shows and
    // hands them to its box.
    void aPopUpOfTheCommandsDialogTakesInput() {
        QString typed;
        guard.run([&] {
            QDialog dialog(window.get());
            auto* name = new QLineEdit(&dialog);
            auto* completer = new QCompleter(QStringList{"show.txt", "shows"}, name);
            name->setCompleter(completer);
            whenModalShows([&](QWidget*) {
                QTest::keyClicks(name, QStringLiteral("sh"));
                QWidget* list = completer->popup();
                QVERIFY(list->isVisible() && !list->parentWidget());
                QTest::keyClicks(list, QStringLiteral("ow.txt"));
                typed = name->text();
                dialog.reject();
            });
            dialog.exec();
        });
        QCOMPARE(typed, QStringLiteral("show.txt"));
    }

    void aPauseIsNeverShort_data() {
        QTest::addColumn<int>("microseconds");
        QTest::newRow("under a millisecond") << 400;
        QTest::newRow("a few milliseconds") << 2500;
        QTest::newRow("send pause") << 50001;
    }

    void aPauseIsNeverShort() {
        QFETCH(int, microseconds);
        QtClock realClock;
        const Clock::Time until = realClock.now() + Clock::Time(microseconds);
        realClock.sleepUntil(until);
        QVERIFY(realClock.now() >= until);
    }
};

QTEST_MAIN(QtMainWindowTest)
#include "qtmainwindow_test.moc"
