#include "files/SceneFile.h"
#include "platform/NumberText.h"
#include "support/EditorRig.h"
#include "support/SceneFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <random>

// Open fed with damaged scene files: each is either loaded as a well-formed grid or refused with a
// message that leaves the grid as it was. The damage is random but seeded, so every run is alike.

namespace {
// Bytes the damage puts in: the file's own characters and some it never holds.
const QByteArray alphabet("0123456789,,,\r\n\n-+. \t\"x\xff", 25);

QByteArray damaged(QByteArray text, std::mt19937& random) {
    const auto pick = [&random](qsizetype below) {
        return std::uniform_int_distribution<qsizetype>(0, std::max<qsizetype>(below, 1) - 1)(random);
    };
    for (int changes = 1 + static_cast<int>(pick(3)); changes > 0; --changes) {
        const qsizetype at = pick(text.size());
        switch (pick(5)) {
        case 0:
            text.replace(at, 1, alphabet.mid(pick(alphabet.size()), 1));
            break;
        case 1:
            text.insert(at, alphabet[pick(alphabet.size())]);
            break;
        case 2:
            text.remove(at, 1 + pick(3));
            break;
        case 3:
            text.truncate(at);
            break;
        default:
            text.insert(at, text.mid(pick(text.size()), 1 + pick(8)));
            break;
        }
    }
    return text;
}

// Everything Open may change: the file's settings, the grid's size and every cell's text.
QList<QStringList> stateOf(const EditorRig& rig) {
    const GridForm& form = rig.form;
    const QStringList settings{QString::number(form.commport), QString::number(form.speed),
                               QString::number(form.nrows), QString::number(form.ncols)};
    return QList<QStringList>{settings} + rig.allCells();
}

// A grid as a file leaves it: within the sizes a file may give, labelled, every level a number.
void checkWellFormed(EditorRig& rig) {
    const GridForm& form = rig.form;
    QVERIFY(form.nrows >= 1 && form.nrows <= maxFileChannels);
    QVERIFY(form.ncols >= 1 && form.ncols <= maxFileScenes);
    QCOMPARE(rig.grid.rows(), form.nrows + 1);
    QCOMPARE(rig.grid.cols(), form.ncols + 1);
    for (int s = 1; s <= form.ncols; ++s) {
        QCOMPARE(rig.grid.cellText(0, s), QString::number(s));
        for (const QString& level : rig.columnTexts(s)) {
            QVERIFY2(level.isEmpty() || toInt16(level), qPrintable(level));
        }
    }
}
} // namespace

class SceneFileMutationTest : public QObject {
    Q_OBJECT
private slots:
    void damagedFilesLoadWellFormedOrChangeNothing_data() {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<int>("seed");
        QTest::newRow("worked example")
            << QByteArray("2,1,3,5,,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n10,20,30,40,50\r\n") << 1;
        QTest::newRow("settings line one field short")
            << QByteArray("2,1,3,5,\r\n255,0,0,128,0\r\n0,255,0,64,0\r\n") << 2;
        QTest::newRow("8 channels, 12 scenes") << patternedSceneFile(8, 12) << 3;
    }
    void damagedFilesLoadWellFormedOrChangeNothing() {
        QFETCH(QByteArray, original);
        QFETCH(int, seed);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("damaged.txt"));
        EditorRig rig;
        QVERIFY(rig.startOffline());
        std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
        int loaded = 0;
        int refused = 0;
        for (int i = 0; i < 400; ++i) {
            const QByteArray text = damaged(original, random);
            QVERIFY(writeSceneFile(path, text));
            const QList<QStringList> before = stateOf(rig);
            rig.forget();
            rig.messages.answers << true;
            rig.files.answers << path;
            rig.form.onOpenMenu();

            const QStringList refusals = rig.messages.shown.filter(QStringLiteral("Cannot load ") + path);
            if (refusals.isEmpty()) {
                checkWellFormed(rig);
                ++loaded;
            } else {
                QCOMPARE(stateOf(rig), before);
                ++refused;
            }
            QCOMPARE(rig.messages.shown.size(), 1 + refusals.size());
            if (QTest::currentTestFailed()) {
                qInfo() << "damaged file" << i << text;
                return;
            }
        }
        // Damage that never loads, or never fails, would say little about the reader.
        QVERIFY(loaded > 0);
        QVERIFY(refused > 0);
    }
};

QTEST_GUILESS_MAIN(SceneFileMutationTest)
#include "scenefile_mutation_test.moc"
