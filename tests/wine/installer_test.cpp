#include "support/WinePrefix.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString programFolder = QStringLiteral("C:\\Program Files\\DMX Scene Editor");
const QString uninstallKey =
    QStringLiteral("HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\DMX Scene Editor");
const QString shortcut =
    QStringLiteral("ProgramData/Microsoft/Windows/Start Menu/Programs/DMX Scene Editor.lnk");

// A value of the product as the build defines it for the installer.
QString productValue(const QString& product, const QString& name) {
    QFile file(product);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QRegularExpression define(QStringLiteral("^!define %1 \"(.*)\"$").arg(name),
                                    QRegularExpression::MultilineOption);
    return define.match(QString::fromUtf8(file.readAll())).captured(1);
}

// A value of a program's file properties. The version resource holds each as its key and its text
// in UTF-16, the text from the next multiple of four bytes after the entry's start, six before its key.
QString fileProperty(const QString& program, const QString& key) {
    QFile file(program);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    const QByteArray name(reinterpret_cast<const char*>(key.utf16()), (key.size() + 1) * 2);
    const qsizetype at = bytes.indexOf(name);
    QString value;
    for (qsizetype i = at + name.size() + (4 - (6 + name.size()) % 4) % 4; at >= 0 && i + 1 < bytes.size();
         i += 2) {
        const char16_t unit =
            static_cast<char16_t>(static_cast<quint8>(bytes[i]) | static_cast<quint8>(bytes[i + 1]) << 8);
        if (unit == 0) {
            break;
        }
        value += QChar(unit);
    }
    return value;
}

// Every file below a folder, by its path from there.
QStringList filesBelow(const QString& folder) {
    QStringList files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        files << QDir(folder).relativeFilePath(it.next());
    }
    files.sort();
    return files;
}
} // namespace

// The Windows installer as an administrator and a user meet it, in a wine prefix of its own: a
// silent install with its Start Menu entry and its entry in Apps & Features, an upgrade over an
// older version installed elsewhere, and a silent uninstall that leaves nothing of the program
// but the files the user saved in its folder. Run by scripts/windows --tests, which names the
// installer (DMX_WINDOWS_INSTALLER), the folder it was made from (DMX_WINDOWS_STAGE) and the
// build's product definitions (DMX_WINDOWS_PRODUCT).
class InstallerTest : public QObject {
    Q_OBJECT

    QString wine = qEnvironmentVariable("DMX_WINE");
    QString installer = qEnvironmentVariable("DMX_WINDOWS_INSTALLER");
    QString stage = qEnvironmentVariable("DMX_WINDOWS_STAGE");
    QString product = qEnvironmentVariable("DMX_WINDOWS_PRODUCT");
    QTemporaryDir prefix;
    // What the fresh prefix holds before anything is installed.
    QStringList freshFiles;

    QString drive() const { return QDir(prefix.path()).filePath(QStringLiteral("drive_c")); }
    QString installed(const QString& file = {}) const {
        return QDir(drive()).filePath(QStringLiteral("Program Files/DMX Scene Editor/") + file);
    }

    bool runWindows(const QString& program, const QStringList& arguments) const {
        return runUnderWine(program, arguments, wine).isEmpty();
    }

    // The stage's files and the uninstaller: what the installer puts in the program's folder.
    QStringList installedFiles() const { return filesBelow(stage) << QStringLiteral("uninstall.exe"); }

private slots:
    void initTestCase() {
        if (wine.isEmpty()) {
            QSKIP("Runs under scripts/windows --tests, with the Windows build's installer");
        }
        QVERIFY2(QFileInfo(installer).isFile() && QFileInfo(stage).isDir() && QFileInfo(product).isFile(),
                 "DMX_WINE needs DMX_WINDOWS_INSTALLER, DMX_WINDOWS_STAGE and DMX_WINDOWS_PRODUCT beside it");
        QVERIFY(prefix.isValid());
        // The prefix is new, and all the test's wine programs take it.
        qputenv("WINEPREFIX", prefix.path().toLocal8Bit());
        QVERIFY(runWindows(QStringLiteral("wineboot"), {QStringLiteral("--init")}));
        freshFiles = filesBelow(drive());
        QVERIFY(!freshFiles.isEmpty());
    }

    void aSilentInstallMakesTheEntriesUsersExpect() {
        QVERIFY(runWindows(installer, {QStringLiteral("/S")}));
        QCOMPARE(filesBelow(installed()), installedFiles());
        // The Start Menu entry for all users leads to the program; no desktop shortcut unless asked.
        QFile entry(QDir(drive()).filePath(shortcut));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        QVERIFY(
            entry.readAll().contains((programFolder + QStringLiteral("\\dmx-scene-editor.exe")).toLatin1()));
        QVERIFY(!QFileInfo::exists(
            QDir(drive()).filePath(QStringLiteral("users/Public/Desktop/DMX Scene Editor.lnk"))));
        // The file properties of the installer and of the program name the same product and version.
        for (const QString& program : {installer, installed(QStringLiteral("dmx-scene-editor.exe"))}) {
            QCOMPARE(fileProperty(program, QStringLiteral("ProductName")),
                     productValue(product, "PRODUCT_NAME"));
            QCOMPARE(fileProperty(program, QStringLiteral("ProductVersion")),
                     productValue(product, "PRODUCT_VERSION"));
        }

        const auto values = wineRegistryValues(uninstallKey, wine);
        QVERIFY(values);
        const QString uninstaller = QStringLiteral("\"%1\\uninstall.exe\"").arg(programFolder);
        QCOMPARE(values->value(QStringLiteral("DisplayName")), QStringLiteral("DMX Scene Editor"));
        QCOMPARE(values->value(QStringLiteral("DisplayVersion")), productValue(product, "PRODUCT_VERSION"));
        QCOMPARE(values->value(QStringLiteral("Publisher")), productValue(product, "PUBLISHER"));
        QCOMPARE(values->value(QStringLiteral("DisplayIcon")),
                 programFolder + QStringLiteral("\\dmx-scene-editor.exe,0"));
        QCOMPARE(values->value(QStringLiteral("InstallLocation")), programFolder);
        QCOMPARE(values->value(QStringLiteral("UninstallString")), uninstaller);
        QCOMPARE(values->value(QStringLiteral("QuietUninstallString")), uninstaller + QStringLiteral(" /S"));
        // Apps & Features shows the size in kilobytes: that of the program's files.
        qint64 bytes = 0;
        for (const QString& file : filesBelow(stage)) {
            bytes += QFileInfo(QDir(stage).filePath(file)).size();
        }
        QCOMPARE(values->value(QStringLiteral("EstimatedSize")),
                 QStringLiteral("dword:%1").arg((bytes + 1023) / 1024, 8, 16, QLatin1Char('0')));
    }

    void anUpgradeLeavesOneInstallation() {
        // An older version with a file the newer one no longer has, installed in a folder of its own.
        QTemporaryDir older;
        const QString olderStage = QDir(older.path()).filePath(QStringLiteral("stage"));
        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), stage, olderStage}), 0);
        QFile retired(QDir(olderStage).filePath(QStringLiteral("retired.dll")));
        QVERIFY(retired.open(QIODevice::WriteOnly) && retired.write("old") == 3);
        retired.close();
        // The build's product, one version back.
        QFile olderProduct(QDir(older.path()).filePath(QStringLiteral("product.nsh")));
        QVERIFY(olderProduct.open(QIODevice::WriteOnly));
        olderProduct.write(QStringLiteral("!include \"%1\"\n!define /redef PRODUCT_VERSION \"0.9\"\n"
                                          "!define /redef PRODUCT_VERSION_QUAD \"0.9.0.0\"\n")
                               .arg(product)
                               .toUtf8());
        olderProduct.close();
        const QString olderInstaller = QDir(older.path()).filePath(QStringLiteral("older-setup.exe"));
        QCOMPARE(QProcess::execute(
                     QStringLiteral("makensis"),
                     {QStringLiteral("-V1"), QStringLiteral("-DPRODUCT=") + olderProduct.fileName(),
                      QStringLiteral("-DSTAGE=") + olderStage, QStringLiteral("-DOUTFILE=") + olderInstaller,
                      QStringLiteral(DMX_INSTALLER_SCRIPT)}),
                 0);

        QVERIFY(
            runWindows(olderInstaller, {QStringLiteral("/S"), QStringLiteral("/D=C:\\Lighting\\Editor09")}));
        const QString olderFolder = QDir(drive()).filePath(QStringLiteral("Lighting/Editor09"));
        QVERIFY(QFileInfo::exists(QDir(olderFolder).filePath(QStringLiteral("retired.dll"))));
        QCOMPARE(wineRegistryValues(uninstallKey, wine)->value(QStringLiteral("DisplayVersion")),
                 QStringLiteral("0.9"));

        QVERIFY(runWindows(installer, {QStringLiteral("/S")}));
        QVERIFY2(!QFileInfo::exists(olderFolder), "the older version's folder stayed");
        QCOMPARE(filesBelow(installed()), installedFiles());
        const auto values = wineRegistryValues(uninstallKey, wine);
        QVERIFY(values);
        QCOMPARE(values->value(QStringLiteral("DisplayVersion")), productValue(product, "PRODUCT_VERSION"));
        QCOMPARE(values->value(QStringLiteral("InstallLocation")), programFolder);
    }

    void aSilentUninstallLeavesNothingButTheUsersFiles() {
        QFile show(installed(QStringLiteral("show.txt")));
        QVERIFY(show.open(QIODevice::WriteOnly) && show.write("2,1,2,1,\r\n") > 0);
        show.close();
        // As an administrator deploys it: the quiet uninstall command of Apps & Features.
        const QStringList command = QProcess::splitCommand(
            wineRegistryValues(uninstallKey, wine)->value(QStringLiteral("QuietUninstallString")));
        QVERIFY(runWindows(command.first(), command.mid(1)));

        QVERIFY2(!wineRegistryValues(uninstallKey, wine), "the uninstall key stayed");
        QStringList left = filesBelow(drive());
        left.removeIf([this](const QString& file) { return freshFiles.contains(file); });
        QCOMPARE(left, QStringList{QStringLiteral("Program Files/DMX Scene Editor/show.txt")});
    }
};

QTEST_GUILESS_MAIN(InstallerTest)
#include "installer_test.moc"
