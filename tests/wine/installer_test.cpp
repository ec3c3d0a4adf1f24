#include "editor/AppTexts.h"
#include "support/DisplayRig.h"
#include "support/WinePrefix.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace std::chrono_literals;

namespace {
const QString programFolder = QStringLiteral("C:\\Program Files\\DMX Scene Editor");
// Where a user chose to install an older version.
const QString chosenFolder = QStringLiteral("C:\\Lighting\\Editor");
// The exit code of an installer or uninstaller that changed nothing.
constexpr int unchanged = 2;
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

// Compiles an NSIS script; whether it compiled.
bool compiled(const QStringList& arguments) {
    return QProcess::execute(QStringLiteral("makensis"), QStringList{QStringLiteral("-V1")} + arguments) == 0;
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
// silent install with its Start Menu entry and its entry in Apps & Features, a silent uninstall
// that waits for the editor to end and leaves nothing of the program but the files the user saved
// in its folder, an upgrade that waits for the editor too and stays in the folder the user chose,
// a downgrade refused, and a move to another folder. The editor runs on a display of its own.
// Run by scripts/windows --tests, which names the installer (DMX_WINDOWS_INSTALLER), the folder it
// was made from (DMX_WINDOWS_STAGE) and the build's product definitions (DMX_WINDOWS_PRODUCT).
class InstallerTest : public QObject {
    Q_OBJECT

    QString wine = qEnvironmentVariable("DMX_WINE");
    QString installer = qEnvironmentVariable("DMX_WINDOWS_INSTALLER");
    QString stage = qEnvironmentVariable("DMX_WINDOWS_STAGE");
    QString product = qEnvironmentVariable("DMX_WINDOWS_PRODUCT");
    QTemporaryDir prefix;
    // What the fresh prefix holds before anything is installed.
    QStringList freshFiles;
    // The build's product one version back, with a file the newer one no longer has.
    QTemporaryDir older;
    QString olderStage = QDir(older.path()).filePath(QStringLiteral("stage"));
    QString olderInstaller = QDir(older.path()).filePath(QStringLiteral("older-setup.exe"));

    QString drive() const { return QDir(prefix.path()).filePath(QStringLiteral("drive_c")); }
    QString installed(const QString& file = {}) const {
        return QDir(drive()).filePath(QStringLiteral("Program Files/DMX Scene Editor/") + file);
    }
    QString onDrive(const QString& windowsPath) const {
        return QDir(drive()).filePath(windowsPath.mid(3).replace(QLatin1Char('\\'), QLatin1Char('/')));
    }

    bool runWindows(const QString& program, const QStringList& arguments) const {
        return runUnderWine(program, arguments, wine).isEmpty();
    }
    std::optional<int> exitCode(const QString& program, const QStringList& arguments) const {
        return exitCodeUnderWine(program, arguments, wine);
    }
    // The quiet uninstall command of Apps & Features, as an administrator deploys it.
    QStringList quietUninstall() const {
        return QProcess::splitCommand(
            wineRegistryValues(uninstallKey, wine)->value(QStringLiteral("QuietUninstallString")));
    }
    QString installedVersion() const {
        return wineRegistryValues(uninstallKey, wine)->value(QStringLiteral("DisplayVersion"));
    }

    // The installed editor, from the folder it was installed in, running until the rig goes: once
    // its first window shows, it has marked that it runs. Nothing when it did not show.
    std::unique_ptr<DisplayRig> startEditor(const QString& folder) const {
        auto rig = std::make_unique<DisplayRig>();
        rig->launch(wine, {folder + QStringLiteral("\\dmx-scene-editor.exe")});
        const auto shown = [&rig] {
            return !rig->x.shownWindows(texts::appTitle).isEmpty();
        };
        return XSession::pollUntil(shown, 120s) ? std::move(rig) : nullptr;
    }

    // What the installer made from a stage puts in the program's folder, its files and the
    // uninstaller, and any files the user saved there.
    static QStringList filesInstalledFrom(const QString& stage, const QStringList& usersFiles = {}) {
        QStringList files = filesBelow(stage) << QStringLiteral("uninstall.exe") << usersFiles;
        files.sort();
        return files;
    }
    QStringList installedFiles(const QStringList& usersFiles = {}) const {
        return filesInstalledFrom(stage, usersFiles);
    }

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
        // The installers start where a user's programs do, on drive C:.
        QVERIFY(QDir::setCurrent(drive()));

        QCOMPARE(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-r"), stage, olderStage}), 0);
        QFile retired(QDir(olderStage).filePath(QStringLiteral("retired.dll")));
        QVERIFY(retired.open(QIODevice::WriteOnly) && retired.write("old") == 3);
        retired.close();
        QFile olderProduct(QDir(older.path()).filePath(QStringLiteral("product.nsh")));
        QVERIFY(olderProduct.open(QIODevice::WriteOnly));
        olderProduct.write(QStringLiteral("!include \"%1\"\n!define /redef PRODUCT_VERSION \"0.9\"\n"
                                          "!define /redef PRODUCT_VERSION_QUAD \"0.9.0.0\"\n")
                               .arg(product)
                               .toUtf8());
        olderProduct.close();
        QVERIFY(compiled(
            {QStringLiteral("-DPRODUCT=") + olderProduct.fileName(), QStringLiteral("-DSTAGE=") + olderStage,
             QStringLiteral("-DOUTFILE=") + olderInstaller, QStringLiteral(DMX_INSTALLER_SCRIPT)}));
    }

    void aSilentInstallMakesTheEntriesUsersExpectAndRunsNothingElse() {
        // A program of the uninstaller's name at the root of the drive, which no installation put
        // there: run, it would leave a file beside it.
        QTemporaryDir script;
        QFile stranger(QDir(script.path()).filePath(QStringLiteral("stranger.nsi")));
        QVERIFY(stranger.open(QIODevice::WriteOnly));
        stranger.write(QStringLiteral("Target amd64-unicode\nOutFile \"%1\"\nSilentInstall silent\nSection\n"
                                      "FileOpen $0 \"$EXEDIR\\ran.txt\" w\nFileClose $0\nSectionEnd\n")
                           .arg(QDir(drive()).filePath(QStringLiteral("uninstall.exe")))
                           .toUtf8());
        stranger.close();
        QVERIFY(compiled({stranger.fileName()}));

        QVERIFY(runWindows(installer, {QStringLiteral("/S")}));
        QVERIFY2(!QFileInfo::exists(QDir(drive()).filePath(QStringLiteral("ran.txt"))),
                 "setup ran C:\\uninstall.exe");
        QVERIFY(QFile::remove(QDir(drive()).filePath(QStringLiteral("uninstall.exe"))));
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
        // Run in place, so that its exit code reaches the caller.
        QCOMPARE(values->value(QStringLiteral("QuietUninstallString")),
                 uninstaller + QStringLiteral(" /S _?=") + programFolder);
        // Apps & Features shows the size in kilobytes: that of the program's files.
        qint64 bytes = 0;
        for (const QString& file : filesBelow(stage)) {
            bytes += QFileInfo(QDir(stage).filePath(file)).size();
        }
        QCOMPARE(values->value(QStringLiteral("EstimatedSize")),
                 QStringLiteral("dword:%1").arg((bytes + 1023) / 1024, 8, 16, QLatin1Char('0')));
    }

    void anUninstallWaitsForTheEditorThenLeavesNothingButTheUsersFiles() {
        DMX_REQUIRE_DISPLAY();
        QFile show(installed(QStringLiteral("show.txt")));
        QVERIFY(show.open(QIODevice::WriteOnly) && show.write("2,1,2,1,\r\n") > 0);
        show.close();
        const QStringList command = quietUninstall();

        std::unique_ptr<DisplayRig> editor = startEditor(programFolder);
        QVERIFY2(editor, "the installed editor did not start");
        QCOMPARE(exitCode(command.first(), command.mid(1)), unchanged);
        QCOMPARE(filesBelow(installed()), installedFiles({QStringLiteral("show.txt")}));
        editor.reset();
        QCOMPARE(installedVersion(), productValue(product, "PRODUCT_VERSION"));

        QVERIFY(runWindows(command.first(), command.mid(1)));
        QVERIFY2(!wineRegistryValues(uninstallKey, wine), "the uninstall key stayed");
        QStringList left = filesBelow(drive());
        left.removeIf([this](const QString& file) { return freshFiles.contains(file); });
        QCOMPARE(left, QStringList{QStringLiteral("Program Files/DMX Scene Editor/show.txt")});
    }

    void anUpgradeWaitsForTheEditorAndStaysInTheChosenFolder() {
        DMX_REQUIRE_DISPLAY();
        QVERIFY(runWindows(olderInstaller, {QStringLiteral("/S"), QStringLiteral("/D=") + chosenFolder}));
        const QStringList olderFiles = filesInstalledFrom(olderStage);
        QCOMPARE(filesBelow(onDrive(chosenFolder)), olderFiles);

        std::unique_ptr<DisplayRig> editor = startEditor(chosenFolder);
        QVERIFY2(editor, "the installed editor did not start");
        QCOMPARE(exitCode(installer, {QStringLiteral("/S")}), unchanged);
        QCOMPARE(filesBelow(onDrive(chosenFolder)), olderFiles);
        editor.reset();
        QCOMPARE(installedVersion(), QStringLiteral("0.9"));

        QVERIFY(runWindows(installer, {QStringLiteral("/S")}));
        QCOMPARE(filesBelow(onDrive(chosenFolder)), installedFiles());
        const auto values = wineRegistryValues(uninstallKey, wine);
        QVERIFY(values);
        QCOMPARE(values->value(QStringLiteral("DisplayVersion")), productValue(product, "PRODUCT_VERSION"));
        QCOMPARE(values->value(QStringLiteral("InstallLocation")), chosenFolder);
    }

    void aDowngradeIsRefusedUnattended() {
        QCOMPARE(exitCode(olderInstaller, {QStringLiteral("/S")}), unchanged);
        QCOMPARE(filesBelow(onDrive(chosenFolder)), installedFiles());
        QCOMPARE(installedVersion(), productValue(product, "PRODUCT_VERSION"));
    }

    void anUpgradeToAnotherFolderLeavesOneInstallation() {
        // /D= takes the folder as the rest of the command line, spaces and all.
        QVERIFY(runWindows(installer, QStringList{QStringLiteral("/S")} +
                                          (QStringLiteral("/D=") + programFolder).split(QLatin1Char(' '))));
        QVERIFY2(!QFileInfo::exists(onDrive(chosenFolder)), "the earlier folder stayed");
        QCOMPARE(filesBelow(installed()), installedFiles({QStringLiteral("show.txt")}));
        QCOMPARE(wineRegistryValues(uninstallKey, wine)->value(QStringLiteral("InstallLocation")),
                 programFolder);
    }
};

QTEST_GUILESS_MAIN(InstallerTest)
#include "installer_test.moc"
