#include "platform/QtFileDialog.h"
#include "support/ModalDialogDriver.h"

#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

class QtFileDialogTest : public QObject {
    Q_OBJECT

    QtFileDialog files;
    QTemporaryDir folder;
    const QString filter = QStringLiteral("Text files|*.txt|All Files (*.*)|*.*");

private slots:
    void initTestCase() { QVERIFY(folder.isValid()); }

    void filtersBecomeNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("scene files") << filter << QStringList{"Text files (*.txt)", "All Files (*.*)"};
        QTest::newRow("several patterns") << "Tables|*.txt;*.csv" << QStringList{"Tables (*.txt *.csv)"};
        QTest::newRow("name without pattern") << "Scenes|*.dmx|" << QStringList{"Scenes (*.dmx)"};
        QTest::newRow("empty") << QString() << QStringList();
    }

    void filtersBecomeNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(QtFileDialog::nameFilters(filter), nameFilters);
    }

    void openGivesAPathThatNeedNotExist() {
        const QString wanted = folder.filePath(QStringLiteral("new scenes.txt"));
        QString title;
        QStringList nameFilters;
        bool ownDialog = false;
        whenModalShows([&](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(chooser);
            title = chooser->windowTitle();
            nameFilters = chooser->nameFilters();
            ownDialog = chooser->testOption(QFileDialog::DontUseNativeDialog);
            chooser->selectFile(wanted);
            static_cast<QDialog*>(chooser)->accept();
        });
        QCOMPARE(files.showOpen(QStringLiteral("File Open"), filter), std::optional<QString>(wanted));
        QCOMPARE(title, QStringLiteral("File Open"));
        QCOMPARE(nameFilters, QtFileDialog::nameFilters(filter));
        QVERIFY(ownDialog);
    }

    void cancelGivesNothing() {
        whenModalShows([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
        QCOMPARE(files.showOpen(QStringLiteral("File Open"), filter), std::nullopt);
    }

    void nothingCarriesOverToTheNextUse() {
        whenModalShows([this](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            chooser->selectFile(folder.filePath(QStringLiteral("a.txt")));
            static_cast<QDialog*>(chooser)->accept();
        });
        QVERIFY(files.showSave(QStringLiteral("File Save"), filter));
        QString startedIn;
        whenModalShows([&startedIn](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            startedIn = chooser->directory().absolutePath();
            chooser->reject();
        });
        QCOMPARE(files.showOpen(QStringLiteral("File Open"), filter), std::nullopt);
        QCOMPARE(startedIn, QDir::current().absolutePath());
    }

    void saveAsksBeforeReplacingAFile() {
        const QString existing = folder.filePath(QStringLiteral("old.txt"));
        QFile file(existing);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        bool asked = false;
        whenModalShows([&](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            chooser->selectFile(existing);
            whenModalShows([&asked](QWidget* question) {
                auto* box = qobject_cast<QMessageBox*>(question);
                QVERIFY(box);
                asked = true;
                box->button(QMessageBox::No)->click();
            });
            static_cast<QDialog*>(chooser)->accept();
            // Answered No, the dialog stays open.
            chooser->reject();
        });
        QCOMPARE(files.showSave(QStringLiteral("File Save"), filter), std::nullopt);
        QVERIFY(asked);
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "qtfiledialog_test.moc"
