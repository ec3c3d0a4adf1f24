#include "support/EditorRig.h"
#include "support/ExpectedTraffic.h"
#include "support/SceneFiles.h"

#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace std::chrono_literals;
using Generation = ControllerModel::Generation;
using Fault = ControllerModel::Fault;

// A controller on a pseudo-terminal that answers wrongly, or goes away, while the editor's logic
// talks to it over the real serial control: what the user is shown and what the grid keeps.

namespace {
const StatusLine cleared{QString(), colours::buttonFace};

// A pseudo-terminal whose far end has gone fails with the system's words for it.
// A vanished terminal fails a transfer with EIO and the port's own ioctl with ENOTTY; which of the
// two the port meets first depends on the moment, and the message gives the system's words for it.
QStringList lostMessages(const PtyEditorRig& rig) {
    QStringList messages;
    for (const int error : {EIO, ENOTTY}) {
        messages
            << QStringLiteral(
                   "The serial port (%1) stopped working: %2. The port has been closed; the grid is kept.")
                   .arg(rig.device.devicePath(), qt_error_string(error));
    }
    return messages;
}
} // namespace

class PtyFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void nothingAnswersAtStart_data() {
        QTest::addColumn<bool>("echo");
        QTest::newRow("silent controller") << false;
        QTest::newRow("echoing line") << true;
    }
    void nothingAnswersAtStart() {
        QFETCH(bool, echo);
        PtyEditorRig rig(Generation::Mk2, 128);
        rig.controller.setEcho(echo);
        if (!echo) {
            rig.controller.addFault({});
        }
        QVERIFY(rig.start());
        // Taken for no controller: the port closes without a word and a new grid is chosen.
        QCOMPARE(rig.sent(), QList<Bytes>{{6}});
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.messages.shown, QStringList{});
        QCOMPARE(rig.window.chooserShown, 1);
        QCOMPARE(rig.grid.rows(), 513);
        QCOMPARE(rig.grid.cols(), 16);
    }

    void faultyRepliesDuringReadData() {
        PtyEditorRig rig(Generation::Mk2, 512);
        rig.controller.fillWithPattern();
        rig.controller.addFault({Fault::Kind::Short, 4, 2});
        rig.controller.addFault({Fault::Kind::Long, 4, 3});
        // Within the deadline of 1 s, with the reply's 0.59 s on the wire; and after it, for the last
        // scene, so that no later reply is held up behind it on the wire.
        rig.controller.addFault({Fault::Kind::Late, 4, 4, 300ms});
        rig.controller.addFault({Fault::Kind::Late, 4, 13});
        QVERIFY(rig.startThenConnect());
        rig.form.onReadMenu();

        QCOMPARE(rig.messages.shown, QStringList(2, QStringLiteral("Comms error")));
        for (int s = 1; s <= 13; ++s) {
            QCOMPARE(rig.columnTexts(s),
                     s == 2 || s == 13 ? QStringList(512, QString()) : rig.controllerLevels(s));
        }
        QCOMPARE(rig.sent(), (QList<Bytes>{{12}, {6}} + readAllFrames(13)));
        QVERIFY(rig.port.isOpen());
        QCOMPARE(rig.window.statuses.last(), cleared);
    }

    void deviceVanishesDuringReadData() {
        PtyEditorRig rig(Generation::Mk2, 512);
        rig.controller.fillWithPattern();
        rig.device.vanishOn({3, 4});
        QVERIFY(rig.startThenConnect());
        rig.form.onReadMenu();

        QCOMPARE(rig.messages.shown.size(), 1);
        QVERIFY2(lostMessages(rig).contains(rig.messages.shown.value(0)),
                 qPrintable(rig.messages.shown.value(0)));
        QVERIFY(!rig.port.isOpen());
        QCOMPARE(rig.sent(), (QList<Bytes>{{12}, {6}, {3, 1}, {4}, {3, 2}, {4}, {3, 3}, {4}}));
        for (int s = 1; s <= 13; ++s) {
            QCOMPARE(rig.columnTexts(s), s <= 3 ? rig.controllerLevels(s) : QStringList(512, QString()));
        }
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.window.statuses.last(), cleared);
    }

    void deviceVanishesDuringOpen() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("scenes.txt"));
        QVERIFY(writeSceneFile(path, patternedSceneFile(128, 3)));
        PtyEditorRig rig(Generation::Mk2, 512);
        rig.device.vanishOn({3, 2});
        QVERIFY(rig.startThenConnect());
        rig.messages.answers << true;
        rig.files.answers << path;
        rig.form.onOpenMenu();

        QCOMPARE(rig.messages.shown.size(), 2);
        QCOMPARE(rig.messages.shown.value(0), QStringLiteral("Data already exists - overwrite?"));
        QVERIFY2(lostMessages(rig).contains(rig.messages.shown.value(1)),
                 qPrintable(rig.messages.shown.value(1)));
        QVERIFY(!rig.port.isOpen());
        // The version and size, the scene size, then scene 1 alone: selected, sent, saved.
        const QList<Bytes> sent = rig.sent();
        QCOMPARE(sent.size(), 6);
        QCOMPARE(sent.mid(3, 1), (QList<Bytes>{{3, 1}}));
        QCOMPARE(sent.last(), Bytes{7});
        for (int s = 1; s <= 3; ++s) {
            QCOMPARE(rig.columnTexts(s), patternedLevels(128, s));
        }
        QCOMPARE(rig.form.nscene, std::int16_t(1));
        QCOMPARE(rig.window.statuses.last(), cleared);
    }
};

QTEST_GUILESS_MAIN(PtyFaultsTest)
#include "pty_faults_test.moc"
