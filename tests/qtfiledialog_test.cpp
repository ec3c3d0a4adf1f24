#include "platform/QtFileDialog.h"
#include "support/ModalDialogDriver.h"

#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class QtFileDialogTest : public QObject {
    Q_OBJECT

    QtFileDialog files;
    QTemporaryDir folder;
    const QString filter = QStringLiteral("Text files|*.txt|All Files (*.*)|*.*");

    // Chooses the path in the next file dialog, noting where it started.
    static void choose(const QString& path, QString* startedIn = nullptr) {
        whenModalShows([path, startedIn](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            QVERIFY(chooser->testOption(QFileDialog::DontUseNativeDialog));
            if (startedIn) {
                *startedIn = chooser->directory().absolutePath();
            }
            chooser->selectFile(path);
            static_cast<QDialog*>(chooser)->accept();
        });
    }

private slots:
    void initTestCase() {
        QVERIFY(folder.isValid());
        // The toolkit's dialog stores its history in the user's settings; keep it out of the home folder.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    }

    void filtersBecomeNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::newRow("scene files") << filter << QStringList{"Text files (*.txt)", "All Files (*.*)"};
        QTest::newRow("several patterns") << "Tables|*.txt;*.csv" << QStringList{"Tables (*.txt *.csv)"};
    }

    void filtersBecomeNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QCOMPARE(QtFileDialog::nameFilters(filter), nameFilters);
    }

    void openGivesAPathThatNeedNotExistAndRemembersNothing() {
        const QString wanted = folder.filePath(QStringLiteral("new scenes.txt"));
        choose(wanted);
        QCOMPARE(files.showOpen(QStringLiteral("File Open"), filter), std::optional<QString>(wanted));
        QString startedIn;
        choose(wanted, &startedIn);
        QVERIFY(files.showOpen(QStringLiteral("File Open"), filter));
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
                asked = true;
                qobject_cast<QMessageBox*>(question)->button(QMessageBox::No)->click();
            });
            static_cast<QDialog*>(chooser)->accept();
            // Answered No, the dialog stays open until cancelled.
            chooser->reject();
        });
        QCOMPARE(files.showSave(QStringLiteral("File Save"), filter), std::nullopt);
        QVERIFY(asked);
    }
};

QTEST_MAIN(QtFileDialogTest)
#include "qtfiledialog_test.moc"
