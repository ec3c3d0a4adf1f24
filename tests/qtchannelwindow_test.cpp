#include "qt/QtChannelWindow.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

class QtChannelWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtChannelWindow> dialog;

private slots:
    void init() {
        dialog = std::make_unique<QtChannelWindow>();
        dialog->showModeless();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void cleanup() { dialog.reset(); }

    void keysReachTheirControls_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("Enter in a box") << "Text3" << int(Qt::Key_Return) << 0 << "apply";
        QTest::newRow("Enter on Enter") << "EnterBtn" << int(Qt::Key_Return) << 0 << "apply";
        QTest::newRow("Esc") << "Text1" << int(Qt::Key_Escape) << 0 << "cancel";
        QTest::newRow("Alt+E") << "Text3" << int(Qt::Key_E) << int(Qt::AltModifier) << "enter";
        QTest::newRow("Alt+F") << "ApplyBtn" << int(Qt::Key_F) << int(Qt::AltModifier) << "Text1";
        QTest::newRow("Alt+V") << "ApplyBtn" << int(Qt::Key_V) << int(Qt::AltModifier) << "Text3";
    }

    void keysReachTheirControls() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, outcome);
        QSignalSpy apply(dialog.get(), &QtChannelWindow::applyClicked);
        QSignalSpy enter(dialog.get(), &QtChannelWindow::enterClicked);
        QSignalSpy cancel(dialog.get(), &QtChannelWindow::cancelClicked);
        QWidget* focused = dialog->findChild<QWidget*>(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        if (outcome.startsWith(QLatin1String("Text"))) {
            QCOMPARE(QApplication::focusWidget()->objectName(), outcome);
            return;
        }
        // An access key holds its button down for a moment before it clicks.
        QTRY_COMPARE(apply.count() + enter.count() + cancel.count(), 1);
        QCOMPARE(outcome == QLatin1String("apply")   ? apply.count()
                 : outcome == QLatin1String("enter") ? enter.count()
                                                     : cancel.count(),
                 1);
    }

    void closingThroughTheFrameIsACancel() {
        QSignalSpy cancel(dialog.get(), &QtChannelWindow::cancelClicked);
        // Closes even with nothing to act on Cancel.
        QVERIFY(dialog->close());
        QCOMPARE(cancel.count(), 1);
        QVERIFY(!dialog->isVisible());
    }
};

QTEST_MAIN(QtChannelWindowTest)
#include "qtchannelwindow_test.moc"
