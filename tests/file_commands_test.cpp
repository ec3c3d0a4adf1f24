#include "device/Commands.h"
#include "support/EditorRig.h"
#include "support/SceneFiles.h"

#include <QTest>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;

namespace {
const QString filter = QStringLiteral("Text files|*.txt|All Files (*.*)|*.*");
const QString overwrite = QStringLiteral("Data already exists - overwrite?");
const StatusLine cleared{QString(), colours::buttonFace};
const StatusLine reading{QStringLiteral("reading data"), colours::white};

QList<int> fileVariables(const GridForm& form) {
    return {form.commport, form.speed, form.nrows, form.ncols};
}

// The level a cell's text becomes on the line: its low 8 bits, an empty cell 0.
QStringList levelsOf(const QStringList& texts) {
    QStringList levels;
    for (const QString& text : texts) {
        levels << QString::number(text.toInt() & 0xFF);
    }
    return levels;
}

// A start with a controller whose scenes all differ, or without one on a new grid of 128 channels;
// then scene 40 is current, a column that no smaller file keeps.
void startOnSceneForty(EditorRig& rig, bool online) {
    rig.controller.fillWithPattern();
    if (online) {
        QVERIFY(rig.start());
    } else {
        rig.window.chooserAnswers << std::int16_t(2);
        QVERIFY(rig.startOffline());
    }
    rig.form.scene(40);
    rig.forget();
}
} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder;

private slots:
    void saveAsWritesTheWholeGrid_data() {
        QTest::addColumn<bool>("online");
        QTest::addColumn<QByteArray>("before"); // the file's old contents; null for no file
        QTest::addColumn<bool>("chosen");
        QTest::addColumn<QByteArray>("after");
        const QByteArray written("1,0,2,4,\r\n255,0,7,300\r\n0,1,2,3\r\n");
        QTest::newRow("port open") << true << QByteArray() << true << written;
        QTest::newRow("port closed") << false << QByteArray() << true << written;
        QTest::newRow("over a longer file")
            << true << QByteArray("1,0,3,4,\r\n9,9,9,9\r\n9,9,9,9\r\n9,9,9,9\r\n") << true << written;
        QTest::newRow("cancelled") << true << QByteArray("old") << false << QByteArray("old");
    }
    void saveAsWritesTheWholeGrid() {
        QFETCH(bool, online);
        QFETCH(QByteArray, before);
        QFETCH(bool, chosen);
        QFETCH(QByteArray, after);
        EditorRig rig(Generation::Mk1, 512);
        if (online) {
            QVERIFY(rig.start());
        } else {
            QVERIFY(rig.startOffline());
        }
        rig.forget();
        rig.form.nrows = 2;
        rig.form.ncols = 4;
        rig.form.layoutGrid();
        const QStringList texts{"255", "", "7", "300", "0", "1", "2", "3"};
        for (int i = 0; i < texts.size(); ++i) {
            rig.grid.setRow(i / 4 + 1);
            rig.grid.setCol(i % 4 + 1);
            rig.grid.setText(texts[i]);
        }
        const QString path = folder.filePath(QStringLiteral("save %1.txt").arg(QTest::currentDataTag()));
        if (!before.isNull()) {
            QVERIFY(writeSceneFile(path, before));
        }
        if (chosen) {
            rig.files.answers << path;
        }

        rig.form.onSaveAsMenu();

        QCOMPARE(rig.files.shown, (QList<QStringList>{{"save", "File Save", filter}}));
        QCOMPARE(fileContents(path), after);
        QCOMPARE(rig.messages.shown, QStringList{});
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.window.statuses, QList<StatusLine>{});
        QCOMPARE(rig.form.nscene, std::int16_t(1));
    }

    void aFailedSaveChangesNothing_data() {
        QTest::addColumn<QString>("target"); // relative to the case's own folder
        QTest::addColumn<QString>("error");
        QTest::newRow("inside a file") << "old.txt/new.txt"
                                       << "Not a directory";
        QTest::newRow("onto a folder") << "folder"
                                       << "Filename refers to a directory";
    }
    void aFailedSaveChangesNothing() {
        QFETCH(QString, target);
        QFETCH(QString, error);
        QTemporaryDir place;
        const QByteArray old("1,0,1,1,\r\n5\r\n");
        QVERIFY(writeSceneFile(place.filePath(QStringLiteral("old.txt")), old));
        QVERIFY(QDir(place.path()).mkpath(QStringLiteral("folder/inner")));
        EditorRig rig;
        QVERIFY(rig.startOffline());
        const QString path = place.filePath(target);
        rig.files.answers << path;

        rig.form.onSaveAsMenu();

        QCOMPARE(
            rig.messages.shown,
            QStringList{QStringLiteral("Cannot save %1: %2. The file was not changed.").arg(path, error)});
        QCOMPARE(fileContents(place.filePath(QStringLiteral("old.txt"))), old);
        QCOMPARE(QDir(place.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{"folder", "old.txt"}));
        QCOMPARE(
            QDir(place.filePath(QStringLiteral("folder"))).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            QStringList{"inner"});
    }

    void openSendsEveryScene_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<bool>("online");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QList<Bytes>>("frames"); // after those of the generation and size check
        const QByteArray small("7,1,3,2,\r\n300,0\r\n,255\r\n7,8\r\n");
        const QList<Bytes> smallMk1{{2, 2}, {3, 1}, {1, 0, 1, 44, 0, 7}, {3, 2}, {1, 0, 1, 0, 255, 8},
                                    {3, 1}};
        QTest::newRow("Mk1") << Generation::Mk1 << true << small << smallMk1;
        QTest::newRow("Mk2 saves each scene")
            << Generation::Mk2 << true << small
            << QList<Bytes>{{2, 2}, {3, 1}, {1, 0, 1, 44, 0, 7}, {7}, {3, 2}, {1, 0, 1, 0, 255, 8},
                            {7},    {3, 1}};
        QTest::newRow("port closed") << Generation::Mk1 << false << small << QList<Bytes>{};
        const auto column = [](int channels, int code) {
            return QList<Bytes>{{2, code}, {3, 1}, Bytes{1, 0, 1} + Bytes(channels, 9), {3, 1}};
        };
        const auto file = [](int channels) {
            return QByteArray("1,0,") + QByteArray::number(channels) + ",1,\r\n" +
                   QByteArray("9\r\n").repeated(channels);
        };
        QTest::newRow("512 channels: size code 0") << Generation::Mk1 << true << file(512) << column(512, 0);
        QTest::newRow("256 channels: size code 1") << Generation::Mk1 << true << file(256) << column(256, 1);
        QTest::newRow("128 channels: size code 2") << Generation::Mk1 << true << file(128) << column(128, 2);
        QTest::newRow("100 channels: size code 2") << Generation::Mk1 << true << file(100) << column(100, 2);
    }
    void openSendsEveryScene() {
        QFETCH(Generation, generation);
        QFETCH(bool, online);
        QFETCH(QByteArray, file);
        QFETCH(QList<Bytes>, frames);
        EditorRig rig(generation, 128);
        startOnSceneForty(rig, online);
        const QString path = folder.filePath(QStringLiteral("open.txt"));
        QVERIFY(writeSceneFile(path, file));
        rig.messages.answers << true;
        rig.files.answers << path;

        rig.form.onOpenMenu();

        const bool mk2 = generation == Generation::Mk2;
        QCOMPARE(rig.messages.shown, QStringList{overwrite});
        QCOMPARE(rig.files.shown, (QList<QStringList>{{"open", "File Open", filter}}));
        QCOMPARE(rig.sent(), online ? (QList<Bytes>{{12}, {6}} + frames) : frames);
        const QList<QByteArray> settings = file.split('\n').first().split(',');
        QCOMPARE(fileVariables(rig.form), (QList<int>{settings[0].toInt(), settings[1].toInt(),
                                                      settings[2].toInt(), settings[3].toInt()}));
        const int nrows = rig.form.nrows;
        const int ncols = rig.form.ncols;
        QCOMPARE(rig.grid.rows(), nrows + 1);
        QCOMPARE(rig.grid.cols(), ncols + 1);

        QList<StatusLine> statuses{reading};
        for (int s = 1; online && s <= ncols; ++s) {
            statuses << StatusLine{QStringLiteral("sending scene %1").arg(s), colours::white};
        }
        if (online) {
            statuses.prepend(mk2 ? StatusLine{"Mk2 detected", colours::white} : cleared);
        }
        QCOMPARE(rig.window.statuses, statuses << cleared);

        // Scene 1 is current; the column that held scene 40 is gone and nothing reaches past the grid.
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.paints(), QStringList{"cyan"} + QStringList(ncols - 1, "white"));
        for (int r = 0; r <= nrows; ++r) {
            QCOMPARE(rig.grid.cellBackColor(r, 0), std::nullopt);
        }
        if (!online) {
            return;
        }
        QCOMPARE(rig.controllerNow().currentScene(), 1);
        for (int s = 1; s <= ncols; ++s) {
            QCOMPARE(rig.controllerLevels(s).first(nrows), levelsOf(rig.columnTexts(s)));
        }
        // 50 ms after every command; levels and saving wait 50 ms more.
        const auto& sent = rig.controller.frames();
        for (std::size_t i = 2; i + 1 < sent.size(); ++i) {
            const bool waitsMore = sent[i].bytes[0] == 1 || sent[i].bytes[0] == 7;
            QVERIFY(sent[i + 1].start - sent[i].start > (waitsMore ? 100ms : 50ms));
        }
    }

    void openRestoresWhatWasSaved_data() {
        QTest::addColumn<Generation>("generation");
        QTest::addColumn<int>("channels");
        QTest::newRow("Mk1, 512 channels") << Generation::Mk1 << 512;
        QTest::newRow("Mk2, 256 channels") << Generation::Mk2 << 256;
    }
    void openRestoresWhatWasSaved() {
        QFETCH(Generation, generation);
        QFETCH(int, channels);
        EditorRig rig(generation, channels);
        rig.controller.fillWithPattern();
        QVERIFY(rig.start());
        const QList<QStringList> cells = rig.allCells();
        const QString path = folder.filePath(QStringLiteral("round trip.txt"));
        rig.files.answers << path << path << path;
        rig.form.onSaveAsMenu();
        const QByteArray saved = fileContents(path);
        rig.form.onAllResetMenu();
        QCOMPARE(rig.columnTexts(2), QStringList(channels, "0"));
        rig.messages.answers << true;

        rig.form.onOpenMenu();

        QCOMPARE(rig.allCells(), cells);
        for (int s = 1; s <= cells.size(); ++s) {
            QCOMPARE(rig.controllerLevels(s), cells[s - 1]);
        }
        rig.form.onSaveAsMenu();
        QCOMPARE(fileContents(path), saved);
        QCOMPARE(rig.messages.shown, QStringList{overwrite});
    }

    void openChangesNothingWhenItStops_data() {
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QString>("target"); // empty: the dialog is cancelled
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("otherSize"); // the controller reports another size than the grid's
        QTest::addColumn<QString>("message");
        QTest::newRow("answered No") << false << "" << QByteArray() << false << "";
        QTest::newRow("cancelled") << true << "" << QByteArray() << false << "";
        QTest::newRow("cancelled, controller of another size") << true << "" << QByteArray() << true << "";
        QTest::newRow("folder") << true << "." << QByteArray() << false
                                << "Cannot open %1: file to open is a directory";
        QTest::newRow("missing file")
            << true << "missing.txt" << QByteArray() << false << "Cannot open %1: No such file or directory";
        QTest::newRow("bad cell, controller of another size")
            << true << "bad.txt" << QByteArray("3,1,2,2,\r\n1,2\r\n3,x\r\n") << true
            << "Cannot load %1: line 3, field 2: the level \"x\" of channel 2 in scene 2 is not a number.";
        QTest::newRow("a program, controller of another size")
            << true << "program"
            << QByteArray("\x7f"
                          "ELF\x02\x01\x01\0\0\0",
                          10)
            << true
            << "Cannot load %1: line 1, field 1: the settings hold a control character (byte 127): this is "
               "not a "
               "scene file.";
        QTest::newRow("ends early") << true << "short.txt" << QByteArray("3,1,2,2,\r\n1,2\r\n3\r\n") << false
                                    << "Cannot load %1: line 3, field 2: the file ends before channel 2 of "
                                       "scene 2.";
    }
    void openChangesNothingWhenItStops() {
        QFETCH(bool, yes);
        QFETCH(QString, target);
        QFETCH(QByteArray, file);
        QFETCH(bool, otherSize);
        QFETCH(QString, message);
        EditorRig rig(Generation::Mk1, 128);
        startOnSceneForty(rig, true);
        if (otherSize) {
            // The controller now holds 512 channels per scene while the grid keeps 128.
            CommandBuffer<2> buffer{};
            rig.form.DMX.sendbytes(buffer, command::putSetSceneSize(buffer, 0));
            rig.forget();
        }
        const QString path = target.isEmpty() ? QString() : QDir(folder.path()).filePath(target);
        if (!file.isNull()) {
            QVERIFY(writeSceneFile(path, file));
        }
        rig.messages.answers << yes;
        if (!path.isEmpty()) {
            rig.files.answers << path;
        }
        const QList<QStringList> cells = rig.allCells();
        const QStringList paints = rig.paints();
        const QList<int> variables = fileVariables(rig.form);
        const int watched = otherSize ? 1 : 40; // a scene the controller holds
        const QStringList controllerScene = rig.controllerLevels(watched);

        rig.form.onOpenMenu();

        QStringList messages{overwrite};
        if (!message.isEmpty()) {
            messages << message.arg(path);
        }
        QCOMPARE(rig.messages.shown, messages);
        QCOMPARE(rig.sent(), yes ? (QList<Bytes>{{12}, {6}}) : QList<Bytes>{});
        QCOMPARE(rig.files.shown.size(), yes ? 1 : 0);
        QCOMPARE(rig.allCells(), cells);
        QCOMPARE(rig.paints(), paints);
        QCOMPARE(fileVariables(rig.form), variables);
        QCOMPARE(rig.form.nscene, std::int16_t(40));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.port.openings().size(), 1);
        QCOMPARE(rig.controllerNow().currentScene(), watched);
        QCOMPARE(rig.controllerLevels(watched), controllerScene);
        // The check's own status, then the reading that was given up.
        const QList<StatusLine> statuses{cleared, reading, cleared};
        QCOMPARE(rig.window.statuses, statuses.first(!yes ? 0 : path.isEmpty() ? 1 : 3));
    }
};

QTEST_GUILESS_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
