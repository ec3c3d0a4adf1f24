#include "qt/QtDialogOwner.h"
#include "qt/QtInputBox.h"
#include "support/ModalDialogDriver.h"

#include <QInputDialog>
#include <QTest>

class QtInputBoxTest : public QObject {
    Q_OBJECT

    QtDialogOwner owner;
    QtInputBox inputs{QStringLiteral("Scene Editor"), owner};

private slots:
    void answersWithTheTextOrNothingOnCancel_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::addColumn<QString>("answer");
        QTest::newRow("default kept") << QString() << true << QStringLiteral("1");
        QTest::newRow("typed") << QStringLiteral("12") << true << QStringLiteral("12");
        QTest::newRow("cancelled") << QStringLiteral("12") << false << QString();
    }

    void answersWithTheTextOrNothingOnCancel() {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QFETCH(QString, answer);
        QString seen;
        whenModalShows([&](QWidget* dialog) {
            auto* box = qobject_cast<QInputDialog*>(dialog);
            seen = box->windowTitle() + QLatin1Char('|') + box->labelText() + QLatin1Char('|') +
                   box->textValue();
            if (!typed.isEmpty()) {
                box->setTextValue(typed);
            }
            accept ? box->accept() : box->reject();
        });
        QCOMPARE(inputs.ask(QStringLiteral("Specify comm port number?"), QStringLiteral("1")), answer);
        QCOMPARE(seen, QStringLiteral("Scene Editor|Specify comm port number?|1"));
    }
};

QTEST_MAIN(QtInputBoxTest)
#include "qtinputbox_test.moc"
