#include "qt/QtChooserWindow.h"
#include "support/ModalDialogDriver.h"

#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

class QtChooserWindowTest : public QObject {
    Q_OBJECT

private slots:
    void okGivesTheChosenSizeCode_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<int>("code");
        QTest::newRow("512 channels") << "Option1" << 0;
        QTest::newRow("256 channels") << "Option2" << 1;
        QTest::newRow("128 channels") << "Option3" << 2;
    }

    void okGivesTheChosenSizeCode() {
        QFETCH(QString, option);
        QFETCH(int, code);
        whenModalShows([&option](QWidget* dialog) {
            childOf<QRadioButton>(dialog, option)->click();
            childOf<QPushButton>(dialog, QStringLiteral("Command1"))->click();
        });
        QtChooserWindow chooser;
        QCOMPARE(chooser.choose(), std::optional<std::int16_t>(code));
    }

    void closingThroughTheFrameGivesNothing() {
        whenModalShows([](QWidget* dialog) {
            childOf<QRadioButton>(dialog, QStringLiteral("Option3"))->click();
            dialog->close();
        });
        QtChooserWindow chooser;
        QCOMPARE(chooser.choose(), std::nullopt);
    }

    void opensCentredAndTheEnterKeyDoesNotChoose() {
        QPoint centre;
        bool stayedOpen = false;
        whenModalShows([&](QWidget* dialog) {
            centre = dialog->geometry().center();
            QTest::keyClick(dialog, Qt::Key_Return);
            stayedOpen = dialog->isVisible();
            childOf<QPushButton>(dialog, QStringLiteral("Command1"))->click();
        });
        QtChooserWindow chooser;
        QCOMPARE(chooser.choose(), std::optional<std::int16_t>(0));
        QVERIFY(stayedOpen);
        const QPoint screenCentre = chooser.screen()->availableGeometry().center();
        QVERIFY((centre - screenCentre).manhattanLength() <= 1);
    }
};

QTEST_MAIN(QtChooserWindowTest)
#include "qtchooserwindow_test.moc"
