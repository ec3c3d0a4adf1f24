#include "dialogs/QtChannelWindow.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class QtChannelWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtChannelWindow> dialog;

    QLineEdit* box(const char* name) { return dialog->findChild<QLineEdit*>(QString::fromLatin1(name)); }

private slots:
    void init() {
        dialog = std::make_unique<QtChannelWindow>();
        dialog->setFirstChannelText(QStringLiteral("7"));
        dialog->setLastChannelText(QStringLiteral("9"));
        dialog->setValueText(QStringLiteral("128"));
        dialog->showModeless();
        QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    }

    void cleanup() { dialog.reset(); }

    void boxesHoldTheFields() {
        QCOMPARE(box("Text1")->text(), QStringLiteral("7"));
        QCOMPARE(box("Text2")->text(), QStringLiteral("9"));
        QCOMPARE(box("Text3")->text(), QStringLiteral("128"));
        box("Text1")->setText(QStringLiteral("12"));
        QCOMPARE(dialog->firstChannelText(), QStringLiteral("12"));
        QCOMPARE(dialog->lastChannelText(), QStringLiteral("9"));
        QCOMPARE(dialog->valueText(), QStringLiteral("128"));
    }

    void keysReachTheirButtons_data() {
        QTest::addColumn<QString>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("button");
        QTest::newRow("Enter in the value box") << "Text3" << int(Qt::Key_Return) << 0 << "apply";
        QTest::newRow("Enter on Enter") << "EnterBtn" << int(Qt::Key_Return) << 0 << "apply";
        QTest::newRow("Enter on Cancel") << "CancelBtn" << int(Qt::Key_Return) << 0 << "apply";
        QTest::newRow("Esc") << "Text1" << int(Qt::Key_Escape) << 0 << "cancel";
        QTest::newRow("Alt+E") << "Text3" << int(Qt::Key_E) << int(Qt::AltModifier) << "enter";
        QTest::newRow("Alt+A") << "Text3" << int(Qt::Key_A) << int(Qt::AltModifier) << "apply";
    }

    void keysReachTheirButtons() {
        QFETCH(QString, focus);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, button);
        QSignalSpy apply(dialog.get(), &QtChannelWindow::applyClicked);
        QSignalSpy enter(dialog.get(), &QtChannelWindow::enterClicked);
        QSignalSpy cancel(dialog.get(), &QtChannelWindow::cancelClicked);
        QWidget* focused = dialog->findChild<QWidget*>(focus);
        focused->setFocus();
        QTest::keyClick(focused, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // An access key presses its button for a moment before it clicks.
        QTRY_COMPARE(apply.count() + enter.count() + cancel.count(), 1);
        QSignalSpy& expected = button == QLatin1String("apply")   ? apply
                               : button == QLatin1String("enter") ? enter
                                                                  : cancel;
        QCOMPARE(expected.count(), 1);
    }

    void labelsPutTheFocusInTheirBoxes_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("box");
        QTest::newRow("Alt+F") << int(Qt::Key_F) << "Text1";
        QTest::newRow("Alt+L") << int(Qt::Key_L) << "Text2";
        QTest::newRow("Alt+V") << int(Qt::Key_V) << "Text3";
    }

    void labelsPutTheFocusInTheirBoxes() {
        QFETCH(int, key);
        QFETCH(QString, box);
        dialog->findChild<QWidget*>(QStringLiteral("ApplyBtn"))->setFocus();
        QTest::keyClick(dialog.get(), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), box);
    }

    void focusValueFocusesTheValueBox() {
        box("Text1")->setFocus();
        dialog->focusValue();
        QCOMPARE(QApplication::focusWidget(), box("Text3"));
    }

    void closingThroughTheFrameIsACancel() {
        QSignalSpy cancel(dialog.get(), &QtChannelWindow::cancelClicked);
        // Closes even with nothing to act on Cancel.
        QVERIFY(dialog->close());
        QCOMPARE(cancel.count(), 1);
        QVERIFY(!dialog->isVisible());
    }

    void closeDialogClosesWithoutCancel() {
        QSignalSpy cancel(dialog.get(), &QtChannelWindow::cancelClicked);
        dialog->closeDialog();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(cancel.count(), 0);
    }
};

QTEST_MAIN(QtChannelWindowTest)
#include "qtchannelwindow_test.moc"
