#include "platform/QtMessageBox.h"
#include "support/ModalDialogDriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// Message boxes: the application's title, no icon, OK alone or Yes and No with Yes as default.
class QtMessageBoxTest : public QObject {
    Q_OBJECT

    QtMessageBox boxes{QStringLiteral("Scene Editor")};

    struct Seen {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::Warning;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    };

    // Notes what the box shows, then presses the button.
    static void answer(Seen& seen, QMessageBox::StandardButton button) {
        whenModalShows([&seen, button](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            QVERIFY(box);
            seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons(),
                    box->defaultButton() ? box->standardButton(box->defaultButton()) : QMessageBox::NoButton};
            box->button(button)->click();
        });
    }

private slots:
    void informShowsTheTextWithOkOnly() {
        Seen seen;
        answer(seen, QMessageBox::Ok);
        boxes.inform(QStringLiteral("Invalid comm port"));
        QCOMPARE(seen.title, QStringLiteral("Scene Editor"));
        QCOMPARE(seen.text, QStringLiteral("Invalid comm port"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void confirmAsksYesOrNo_data() {
        QTest::addColumn<QMessageBox::StandardButton>("button");
        QTest::addColumn<bool>("yes");
        QTest::newRow("yes") << QMessageBox::Yes << true;
        QTest::newRow("no") << QMessageBox::No << false;
    }

    void confirmAsksYesOrNo() {
        QFETCH(QMessageBox::StandardButton, button);
        QFETCH(bool, yes);
        Seen seen;
        answer(seen, button);
        QCOMPARE(boxes.confirm(QStringLiteral("Are you sure you want to quit")), yes);
        QCOMPARE(seen.title, QStringLiteral("Scene Editor"));
        QCOMPARE(seen.text, QStringLiteral("Are you sure you want to quit"));
        QCOMPARE(seen.icon, QMessageBox::NoIcon);
        QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(seen.defaultButton, QMessageBox::Yes);
    }
};

QTEST_MAIN(QtMessageBoxTest)
#include "qtmessagebox_test.moc"
