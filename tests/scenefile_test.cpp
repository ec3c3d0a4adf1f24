#include "files/SceneFile.h"
#include "qt/QtGridModel.h"
#include "support/SceneFiles.h"

#include <QBuffer>
#include <QTest>

#include <random>

namespace {

// A grid of the given size whose data cells hold the given texts, channel-major.
void fillGrid(QtGridModel& grid, int nrows, int ncols, const QStringList& texts) {
    grid.setRows(nrows + 1);
    grid.setCols(ncols + 1);
    for (int r = 1; r <= nrows; ++r) {
        for (int s = 1; s <= ncols; ++s) {
            grid.setRow(r);
            grid.setCol(s);
            grid.setText(texts.value((r - 1) * ncols + (s - 1)));
        }
    }
}

QStringList cellsOf(const SceneFileContents& contents) {
    return QStringList(contents.cells.begin(), contents.cells.end());
}

// Reads the text as Open reads a file.
std::variant<SceneFileContents, SceneFileProblem> parsed(QByteArray text) {
    QBuffer input(&text);
    input.open(QIODevice::ReadOnly);
    return parseSceneFile(input);
}

// A file far larger than any scene file, made as it is read: the head, then the filler over and
// over. It counts the bytes read, so a reader that goes further than it needs shows.
class GeneratedFile final : public QIODevice {
public:
    GeneratedFile(QByteArray head, QByteArray filler, qint64 size)
        : head(std::move(head))
        , filler(std::move(filler))
        , length(size) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 taken() const { return made; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 count = std::min(maxSize, length - made);
        for (qint64 i = 0; i < count; ++i, ++made) {
            data[i] = made < head.size() ? head[made] : filler[(made - head.size()) % filler.size()];
        }
        return count;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray head;
    QByteArray filler;
    qint64 length;
    qint64 made = 0;
};

// Random bytes, alike on every run.
QByteArray noise(int size) {
    std::mt19937 random(11);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFF);
    }
    return bytes;
}

constexpr qint64 gibibyte = qint64(1) << 30;

// Reads the file and compares its refusal with the row's line, field and reason.
void compareRefusal(QIODevice& file) {
    QFETCH(int, line);
    QFETCH(int, field);
    QFETCH(QString, what);
    const auto result = parseSceneFile(file);
    const auto* problem = std::get_if<SceneFileProblem>(&result);
    QVERIFY(problem);
    QCOMPARE(problem->what, what);
    QCOMPARE(problem->line, line);
    QCOMPARE(problem->field, field);
}

} // namespace

class SceneFileTest : public QObject {
    Q_OBJECT

private slots:
    void writesTheWorkedExampleByteForByte() {
        QtGridModel grid;
        fillGrid(grid, 3, 5,
                 {"255", "0", "0", "128", "0", "0", "255", "", "64", "0", "10", "20", "30", "40", "50"});
        QCOMPARE(sceneFileText(grid, 2, 1, 3, 5),
                 QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n"));
        // The writer walks the grid through its current cell and leaves it on the last cell.
        QCOMPARE(grid.row(), 3);
        QCOMPARE(grid.col(), 5);
    }

    void writesSettingsLineWithOneCommaPerSceneBeyondThree_data() {
        QTest::addColumn<int>("ncols");
        QTest::addColumn<QByteArray>("settingsLine");
        QTest::newRow("15 scenes") << 15 << QByteArray("1,0,2,15,,,,,,,,,,,,\r\n");
        QTest::newRow("4 scenes") << 4 << QByteArray("1,0,2,4,\r\n");
        QTest::newRow("2 scenes keep one comma") << 2 << QByteArray("1,0,2,2,\r\n");
    }
    void writesSettingsLineWithOneCommaPerSceneBeyondThree() {
        QFETCH(int, ncols);
        QFETCH(QByteArray, settingsLine);
        QtGridModel grid;
        fillGrid(grid, 2, ncols, {});
        const QByteArray text = sceneFileText(grid, 1, 0, 2, static_cast<std::int16_t>(ncols));
        QVERIFY2(text.startsWith(settingsLine), text.constData());
        // Empty cells are written as 0, channel lines carry no trailing comma.
        const QByteArray channelLine = QByteArray("0,").repeated(ncols - 1) + "0\r\n";
        QCOMPARE(text, settingsLine + channelLine + channelLine);
    }

    void writesLongLinesUnwrapped() {
        QtGridModel grid;
        fillGrid(grid, 1, 60, QStringList(60, QStringLiteral("255")));
        const QList<QByteArray> lines = sceneFileText(grid, 1, 0, 1, 60).split('\n');
        QCOMPARE(lines.at(1).size(), 239 + 1); // 60 x 3 digits, 59 commas, then CR
    }

    void readsBackWhatItWrites_data() {
        QTest::addColumn<int>("nrows");
        QTest::addColumn<int>("ncols");
        QTest::newRow("512 x 15") << 512 << 15;
        QTest::newRow("128 x 60") << 128 << 60;
        QTest::newRow("3 x 5") << 3 << 5;
        QTest::newRow("2 x 3") << 2 << 3;
        QTest::newRow("1 x 1") << 1 << 1;
    }
    void readsBackWhatItWrites() {
        QFETCH(int, nrows);
        QFETCH(int, ncols);
        QStringList texts;
        for (int i = 0; i < nrows * ncols; ++i) {
            texts << QString::number((i * 37 + 11) % 256);
        }
        QtGridModel grid;
        fillGrid(grid, nrows, ncols, texts);
        const auto result = parsed(
            sceneFileText(grid, 7, 1, static_cast<std::int16_t>(nrows), static_cast<std::int16_t>(ncols)));
        const auto* contents = std::get_if<SceneFileContents>(&result);
        QVERIFY(contents);
        QCOMPARE(contents->commport, 7);
        QCOMPARE(contents->speed, 1);
        QCOMPARE(contents->nrows, nrows);
        QCOMPARE(contents->ncols, ncols);
        QCOMPARE(cellsOf(*contents), texts);
    }

    void readsTheVariantsTheFormatAllows_data() {
        QTest::addColumn<QByteArray>("text");
        const QStringList expected{"255", "0", "0",  "128", "0",  "0",  "255", "0",
                                   "64",  "0", "10", "20",  "30", "40", "50"};
        QTest::addColumn<QStringList>("cells");
        QTest::newRow("as written") << QByteArray(
                                           "2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n")
                                    << expected;
        QTest::newRow("LF line ends")
            << QByteArray("2,1,3,5,,\n255,0,0,128,0\n0,255,0,64,0\n10,20,30,40,50\n") << expected;
        QTest::newRow("all on one line")
            << QByteArray("2,1,3,5,,,255,0,0,128,0,0,255,0,64,0,10,20,30,40,50") << expected;
        QTest::newRow("settings line one field short")
            << QByteArray("2,1,3,5,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << expected;
        QTest::newRow("spaces around fields")
            << QByteArray(" 2 , 1,3,5,,\r\n255 ,\t0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n")
            << expected;
        QTest::newRow("fields and lines after the last cell")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50,99\r\n1,2,3\r\n\r\n")
            << expected;
        QTest::newRow("tabs in the settings")
            << QByteArray("2\t,\t1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << expected;
        const QByteArray padding(maxFieldLength - 3, ' ');
        QTest::newRow("a field of the longest length")
            << QByteArray("2,1,3,5,,\r\n" + padding + "255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n")
            << expected;
        QTest::newRow("binary data after the last cell")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n\0\x01\xff", 58)
            << expected;
        QStringList withEmpty = expected;
        withEmpty[7] = QString();
        QTest::newRow("empty cell kept empty")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,,64,0\r\n10,20,30,40,50\r\n") << withEmpty;
        QStringList outOfByte = expected;
        outOfByte[0] = QStringLiteral("300");
        QTest::newRow("level text stored as read")
            << QByteArray("2,1,3,5,,\r\n300,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << outOfByte;
    }
    void readsTheVariantsTheFormatAllows() {
        QFETCH(QByteArray, text);
        QFETCH(QStringList, cells);
        const auto result = parsed(text);
        const auto* contents = std::get_if<SceneFileContents>(&result);
        QVERIFY(contents);
        QCOMPARE(contents->commport, 2);
        QCOMPARE(contents->speed, 1);
        QCOMPARE(contents->nrows, 3);
        QCOMPARE(contents->ncols, 5);
        QCOMPARE(cellsOf(*contents), cells);
    }

    void refusesFilesItCannotHold_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("what");
        QTest::newRow("empty file") << QByteArray() << 1 << 1 << "the file ends before the comm port number";
        QTest::newRow("port not a number")
            << QByteArray("x,0,1,1,\r\n5\r\n") << 1 << 1
            << "the comm port number \"x\" is not a whole number from -32768 to 32767";
        QTest::newRow("speed beyond 16 bits")
            << QByteArray("1,40000,1,1,\r\n5\r\n") << 1 << 2
            << "the speed code \"40000\" is not a whole number from -32768 to 32767";
        QTest::newRow("too many channels")
            << QByteArray("1,0,513,1,\r\n") << 1 << 3 << "513 channels per scene is outside 1 to 512";
        QTest::newRow("no channels") << QByteArray("1,0,0,1,\r\n") << 1 << 3
                                     << "0 channels per scene is outside 1 to 512";
        QTest::newRow("too many scenes")
            << QByteArray("1,0,1,256,\r\n") << 1 << 4 << "256 scenes is outside 1 to 255";
        QTest::newRow("ends before the last cell")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30\r\n") << 4 << 4
            << "the file ends before channel 3 of scene 4";
        QTest::newRow("cell not a number")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,abc,64,0\r\n10,20,30,40,50\r\n") << 3 << 3
            << "the level \"abc\" of channel 2 in scene 3 is not a number";
        QTest::newRow("cell beyond 16 bits")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,99999\r\n") << 4 << 5
            << "the level \"99999\" of channel 3 in scene 5 is not a number";
        QTest::newRow("first cell held from the settings line")
            << QByteArray("2,1,3,5,\r\nzz,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << 2 << 1
            << "the level \"zz\" of channel 1 in scene 1 is not a number";
        QTest::newRow("a field one character too long")
            << QByteArray("2,1,3,5,,\r\n" + QByteArray(maxFieldLength - 2, ' ') + "255,0,0,128,0\r\n") << 2
            << 1 << "the field is longer than 256 characters: this is not a scene file";
        QTest::newRow("a control character among the settings")
            << QByteArray("2,1,3,5,\f,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << 1 << 5
            << "the settings hold a control character (byte 12): this is not a scene file";
        QTest::newRow("a program")
            << QByteArray("\x7f"
                          "ELF\x02\x01\x01\0\0\0",
                          10)
            << 1 << 1 << "the settings hold a control character (byte 127): this is not a scene file";
        QTest::newRow("a control character in a cell")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,\x01,0\r\n10,20,30,40,50\r\n") << 3 << 4
            << "the level \"\x01\" of channel 2 in scene 4 is not a number";
    }
    void refusesFilesItCannotHold() {
        QFETCH(QByteArray, text);
        QBuffer input(&text);
        input.open(QIODevice::ReadOnly);
        compareRefusal(input);
    }

    void readsAHugeFileOnlyAsFarAsItsLastCell_data() {
        QTest::addColumn<QByteArray>("filler");
        QTest::newRow("a log after the last cell")
            << QByteArray("Jan  1 00:00:00 host kernel: usb 1-1: new full-speed USB device number 2\n");
        QTest::newRow("binary data after the last cell") << noise(4099);
        QTest::newRow("zero bytes after the last cell") << QByteArray(1, '\0');
    }
    void readsAHugeFileOnlyAsFarAsItsLastCell() {
        QFETCH(QByteArray, filler);
        const QByteArray scenes = patternedSceneFile(512, 15);
        GeneratedFile file(scenes, filler, gibibyte);
        const auto result = parseSceneFile(file);
        const auto* contents = std::get_if<SceneFileContents>(&result);
        QVERIFY(contents);
        const auto alone = parsed(scenes);
        QCOMPARE(cellsOf(*contents), cellsOf(std::get<SceneFileContents>(alone)));
        QVERIFY2(file.taken() <= scenes.size() + sceneFilePiece, qPrintable(QString::number(file.taken())));
    }

    void refusesAHugeFileThatIsNoSceneFileAtOnce_data() {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("filler");
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("what");
        const QString control =
            QStringLiteral("the settings hold a control character (byte %1): this is not a scene file");
        const QString tooLong =
            QStringLiteral("the field is longer than 256 characters: this is not a scene file");
        QTest::newRow("zero bytes") << QByteArray() << QByteArray(1, '\0') << 1 << 1 << control.arg(0);
        QTest::newRow("compressed data")
            << QByteArray("\x1f\x8b\x08\x00", 4) << noise(4099) << 1 << 1 << control.arg(31);
        QTest::newRow("text without a separator") << QByteArray() << QByteArray("abc") << 1 << 1 << tooLong;
        QTest::newRow("a log") << QByteArray()
                               << QByteArray(
                                      "Jan  1 00:00:00 host kernel: usb 1-1: new full-speed USB device\n")
                               << 1 << 1
                               << "the comm port number \"Jan  1 00:00:00 host kernel: usb 1-1: new "
                                  "full-speed USB device\" is not a "
                                  "whole number from -32768 to 32767";
        QTest::newRow("spaces after the settings")
            << QByteArray("1,0,512,15,,,,,,,,,,,,\r\n") << QByteArray(" ") << 2 << 1 << tooLong;
        QTest::newRow("settings, then zero bytes")
            << QByteArray("1,0,512,15,") << QByteArray(1, '\0') << 1 << 5 << control.arg(0);
    }
    void refusesAHugeFileThatIsNoSceneFileAtOnce() {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, filler);
        GeneratedFile file(head, filler, gibibyte);
        compareRefusal(file);
        QVERIFY2(file.taken() <= sceneFilePiece, qPrintable(QString::number(file.taken())));
    }
};

QTEST_GUILESS_MAIN(SceneFileTest)
#include "scenefile_test.moc"
