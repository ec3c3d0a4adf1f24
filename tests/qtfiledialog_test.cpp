#include "qt/QtDialogOwner.h"
#include "qt/QtFileDialog.h"
#include "support/ModalDialogDriver.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {
// Gives or takes away the right to make files in a folder: by its permissions, and for root, whom
// they do not stop, by the immutable flag, where the file system has one.
void allowWriting(const QString& folder, bool allowed) {
    QFile::Permissions permissions = QFile::ReadOwner | QFile::ExeOwner;
    if (allowed) {
        permissions |= QFile::WriteOwner;
    }
    QFile::setPermissions(folder, permissions);
    const int descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    if (descriptor >= 0 && ::ioctl(descriptor, FS_IOC_GETFLAGS, &flags) == 0) {
        flags = allowed ? flags & ~FS_IMMUTABLE_FL : flags | FS_IMMUTABLE_FL;
        ::ioctl(descriptor, FS_IOC_SETFLAGS, &flags);
    }
    if (descriptor >= 0) {
        ::close(descriptor);
    }
}
} // namespace

class QtFileDialogTest : public QObject {
    Q_OBJECT

    QtDialogOwner owner;
    QtFileDialog files{owner};
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
        // The user's documents folder, where the dialogs go when the working folder is not the user's.
        qputenv("HOME", QFile::encodeName(folder.filePath(QStringLiteral("home"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath(QStringLiteral("home/.config"))));
    }

    void filtersBecomeNameFilters_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("nameFilters");
        QTest::addColumn<QStringList>("extensions");
        // Every file, names without a dot included.
        QTest::newRow("scene files") << filter << QStringList{"Text files (*.txt)", "All Files (*.*) (*)"}
                                     << QStringList{"txt", ""};
        QTest::newRow("several patterns")
            << "Tables|*.txt;*.csv" << QStringList{"Tables (*.txt *.csv)"} << QStringList{""};
        QTest::newRow("wildcard extension")
            << "Backups|*.b?k" << QStringList{"Backups (*.b?k)"} << QStringList{""};
    }

    void filtersBecomeNameFilters() {
        QFETCH(QString, filter);
        QFETCH(QStringList, nameFilters);
        QFETCH(QStringList, extensions);
        QCOMPARE(QtFileDialog::nameFilters(filter), nameFilters);
        QStringList found;
        for (const QString& nameFilter : nameFilters) {
            found << QtFileDialog::extensionOf(nameFilter);
        }
        QCOMPARE(found, extensions);
    }

    void openGivesAPathThatNeedNotExistAndStartsWhereTheUserCanWrite_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("the working folder") << true;
        QTest::newRow("the user's documents, when the working folder is not the user's") << false;
    }

    void openGivesAPathThatNeedNotExistAndStartsWhereTheUserCanWrite() {
        QFETCH(bool, writable);
        const QString working = folder.filePath(QStringLiteral("working"));
        QVERIFY(QDir().mkpath(working));
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(working));
        allowWriting(working, writable);
        const auto restore = qScopeGuard([&] {
            allowWriting(working, true);
            QDir::setCurrent(before);
        });
        if (QFile probe(QDir(working).filePath(QStringLiteral("probe")));
            !writable && probe.open(QIODevice::WriteOnly)) {
            QSKIP("This file system lets root write in every folder");
        }

        const QString wanted = folder.filePath(QStringLiteral("new scenes.txt"));
        choose(wanted);
        QCOMPARE(files.showOpen(QStringLiteral("File Open"), filter), std::optional<QString>(wanted));
        // Not where the last one ended.
        QString startedIn;
        choose(wanted, &startedIn);
        QVERIFY(files.showOpen(QStringLiteral("File Open"), filter));
        QCOMPARE(startedIn, writable ? working : folder.filePath(QStringLiteral("home/Documents")));
    }

    void saveShowsTheCaptionsAndGivesTheExtension_data() {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("text files, no extension") << 0 << "show"
                                                  << "show.txt";
        QTest::newRow("text files, other extension") << 0 << "show.scn"
                                                     << "show.scn";
        QTest::newRow("all files") << 1 << "show"
                                   << "show";
    }

    void saveShowsTheCaptionsAndGivesTheExtension() {
        QFETCH(int, choice);
        QFETCH(QString, typed);
        QFETCH(QString, chosen);
        QStringList captions;
        whenModalShows([&](QWidget* dialog) {
            auto* types = childOf<QComboBox>(dialog, QStringLiteral("fileTypeCombo"));
            for (int i = 0; i < types->count(); ++i) {
                captions << types->itemText(i);
            }
            // Chosen as a user does, so that the dialog hears of it.
            types->setCurrentIndex(choice);
            emit types->textActivated(types->currentText());
            emit types->activated(choice);
            childOf<QLineEdit>(dialog, QStringLiteral("fileNameEdit"))->setText(folder.filePath(typed));
            static_cast<QDialog*>(dialog)->accept();
        });
        QCOMPARE(files.showSave(QStringLiteral("File Save"), filter).value_or(QString()),
                 folder.filePath(chosen));
        QCOMPARE(captions, (QStringList{"Text files", "All Files (*.*)"}));
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
