#include "qt/QtDialogOwner.h"
#include "qt/QtMessageBox.h"
#include "support/ModalDialogDriver.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

// Message boxes: the given title, no icon, OK alone or Yes and No with Yes as default.
class QtMessageBoxTest : public QObject {
    Q_OBJECT

    QtDialogOwner owner;
    QtMessageBox boxes{QStringLiteral("Scene Editor"), owner};

private slots:
    void showsTheTextAndGivesTheAnswer_data() {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QMessageBox::StandardButton>("press");
        QTest::addColumn<QMessageBox::StandardButtons>("buttons");
        QTest::newRow("inform") << false << QMessageBox::Ok << QMessageBox::StandardButtons(QMessageBox::Ok);
        QTest::newRow("confirm yes") << true << QMessageBox::Yes << (QMessageBox::Yes | QMessageBox::No);
        QTest::newRow("confirm no") << true << QMessageBox::No << (QMessageBox::Yes | QMessageBox::No);
    }

    void showsTheTextAndGivesTheAnswer() {
        QFETCH(bool, question);
        QFETCH(QMessageBox::StandardButton, press);
        QFETCH(QMessageBox::StandardButtons, buttons);
        QString seen;
        whenModalShows([&](QWidget* dialog) {
            auto* box = qobject_cast<QMessageBox*>(dialog);
            seen = QStringLiteral("%1|%2|%3").arg(box->windowTitle(), box->text()).arg(box->icon());
            QCOMPARE(box->standardButtons(), buttons);
            QCOMPARE(box->defaultButton(), box->button(question ? QMessageBox::Yes : QMessageBox::Ok));
            box->button(press)->click();
        });
        const QString text = QStringLiteral("Invalid comm port");
        if (question) {
            QCOMPARE(boxes.confirm(text), press == QMessageBox::Yes);
        } else {
            boxes.inform(text);
        }
        QCOMPARE(seen, QStringLiteral("Scene Editor|Invalid comm port|%1").arg(QMessageBox::NoIcon));
    }
};

QTEST_MAIN(QtMessageBoxTest)
#include "qtmessagebox_test.moc"
