#include "qt/QtChannelWindow.h"
#include "qt/QtClock.h"
#include "qt/QtDialogOwner.h"
#include "qt/QtGridModel.h"
#include "qt/QtMessageBox.h"
#include "qt/QtSerialControl.h"
#include "qt/QtSerialDevices.h"
#include "support/ModalDialogDriver.h"
#include "support/OfflineWindowRig.h"
#include "support/PaintCounter.h"
#include "support/PseudoTerminal.h"

#include <QCompleter>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace std::chrono_literals;

// The guard that keeps the program to one command at a time, around the program's own windows.
class QtCommandGuardTest : public QObject {
    Q_OBJECT

    std::unique_ptr<OfflineWindowRig> rig;

    // Runs a command that waits 100 ms, by a pause or for a reply that never comes, with the action
    // done 10 ms into the wait and the check made right after the wait, still inside the command.
    void commandWaiting(const QString& wait, const std::function<void()>& action,
                        const std::function<void()>& check) {
        PseudoTerminal line;
        QtSerialControl comm(
            [path = line.devicePath()](std::int16_t) -> std::optional<QString> { return path; },
            qtSerialDeviceFacts());
        comm.setSettings(QStringLiteral("9600,n,8,2"));
        QVERIFY(line.isValid() && !comm.open());
        QObject actionScope; // a wait that ran no event loop must not leave the action for later
        bool acted = false;
        rig->editor.guard.run([&] {
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

private slots:
    void init() {
        rig = std::make_unique<OfflineWindowRig>();
        QVERIFY(rig->showActive());
    }

    void cleanup() { rig.reset(); }

    void aWaitLetsTheWindowPaint_data() { waits_data(); }

    void aWaitLetsTheWindowPaint() {
        QFETCH(QString, wait);
        rig->form.nrows = 8;
        rig->form.ncols = 3;
        rig->form.layoutGrid();
        QCoreApplication::processEvents();
        auto* view = rig->control<QTableView>(QStringLiteral("Grid1"));
        PaintCounter counter;
        view->viewport()->installEventFilter(&counter);
        QtGridModel& grid = rig->window.grid();
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
        auto* exitBtn = rig->control<QPushButton>(QStringLiteral("ExitBtn"));
        auto* box = rig->control<QLineEdit>(QStringLiteral("Text1"));
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
            return QStringLiteral("%1 questions, box '%2'").arg(rig->messages.shown.size()).arg(box->text());
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
        rig->window.channelWindow().showModeless();
        bool closedAtOnce = true;
        bool openAfterWait = false;
        commandWaiting(
            wait, [&] { closedAtOnce = rig->window.close(); },
            [&] { openAfterWait = rig->window.isVisible() && rig->window.channelWindow().isVisible(); });
        QVERIFY(!closedAtOnce);
        QVERIFY(openAfterWait);
        QVERIFY(!rig->window.isVisible());
        QVERIFY(!rig->window.channelWindow().isVisible());
        QCOMPARE(rig->messages.shown.size(), 0);
    }

    void aModalBoxOfTheCommandTakesInput_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("click") << false;
        QTest::newRow("Enter key") << true;
    }

    void aModalBoxOfTheCommandTakesInput() {
        QFETCH(bool, byKey);
        bool answered = false;
        rig->editor.guard.run([&] {
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
        rig->editor.guard.run([&] {
            QDialog dialog(&rig->window);
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
};

QTEST_MAIN(QtCommandGuardTest)
#include "qtcommandguard_test.moc"
