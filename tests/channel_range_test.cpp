#include "editor/Channel.h"
#include "support/EditorRig.h"

#include <QTest>

using Generation = ControllerModel::Generation;

namespace {
// A grid of 512 channels by 15 scenes read from a controller whose levels all differ, scene 1
// current, with the channel range dialog's fields filled as given.
void startAndFill(EditorRig& rig, const QString& first, const QString& last, const QString& value) {
    QVERIFY(rig.startPatterned());
    rig.channelView.first = first;
    rig.channelView.last = last;
    rig.channelView.value = value;
}

void press(Channel& channel, const QString& button) {
    if (button == QLatin1String("apply")) {
        channel.onApplyBtn();
    } else if (button == QLatin1String("enter")) {
        channel.onEnterBtn();
    } else {
        channel.onCancelBtn();
    }
}
} // namespace

class ChannelRangeTest : public QObject {
    Q_OBJECT
private slots:
    void writesAndSendsTheRun_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("fields"); // first, last, value as typed
        QTest::addColumn<QList<Bytes>>("frames");
        QTest::addColumn<QStringList>("fieldsAfter");
        QTest::addColumn<bool>("closed");
        QTest::newRow("whole scene at 255")
            << "apply" << QStringList{"1", "512", "255"} << QList<Bytes>{Bytes{1, 0, 1} + Bytes(512, 255)}
            << QStringList{"1", "512", "255"} << false;
        QTest::newRow("channel 300") << "apply" << QStringList{"300", "300", "255"}
                                     << QList<Bytes>{{1, 1, 44, 255}} << QStringList{"301", "301", "255"}
                                     << false;
        QTest::newRow("up to the final channel")
            << "apply" << QStringList{"510", "512", "7"} << QList<Bytes>{{1, 1, 254, 7, 7, 7}}
            << QStringList{"510", "512", "7"} << false;
        QTest::newRow("empty run") << "apply" << QStringList{"10", "5", "9"} << QList<Bytes>{{1, 0, 10}}
                                   << QStringList{"6", "6", "9"} << false;
        QTest::newRow("last below 1") << "apply" << QStringList{"1", "-3", "9"} << QList<Bytes>{{1, 0, 1}}
                                      << QStringList{"-2", "-2", "9"} << false;
        QTest::newRow("empty value is 0")
            << "apply" << QStringList{"4", "6", ""} << QList<Bytes>{{1, 0, 4, 0, 0, 0}}
            << QStringList{"7", "7", ""} << false;
        QTest::newRow("typed numbers rounded")
            << "apply" << QStringList{" 2.5 ", "3", "6.5"} << QList<Bytes>{{1, 0, 2, 6, 6}}
            << QStringList{"4", "4", "6.5"} << false;
        QTest::newRow("Enter closes without moving on")
            << "enter" << QStringList{"5", "8", "200"} << QList<Bytes>{{1, 0, 5, 200, 200, 200, 200}}
            << QStringList{"5", "8", "200"} << true;
        QTest::newRow("Cancel") << "cancel" << QStringList{"5", "8", "200"} << QList<Bytes>{}
                                << QStringList{"5", "8", "200"} << true;
    }
    void writesAndSendsTheRun() {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(QList<Bytes>, frames);
        QFETCH(QStringList, fieldsAfter);
        QFETCH(bool, closed);
        EditorRig rig(Generation::Mk1, 512);
        startAndFill(rig, fields[0], fields[1], fields[2]);
        Channel channel(rig.form, rig.channelView);
        QList<QStringList> cells = rig.allCells();
        const QStringList paints = rig.paints();

        press(channel, button);

        QCOMPARE(rig.sent(), frames);
        // The cells the command names, and no others, now hold its level as plain decimal text.
        if (!frames.isEmpty()) {
            const Bytes& levels = frames[0];
            for (int i = 3; i < levels.size(); ++i) {
                cells[0][levels[1] * 256 + levels[2] + i - 4] = QString::number(levels[i]);
            }
        }
        QCOMPARE(rig.allCells(), cells);
        QCOMPARE(rig.controllerLevels(1), rig.columnTexts(1));
        QCOMPARE(rig.paints(), paints);
        QCOMPARE((QStringList{rig.channelView.first, rig.channelView.last, rig.channelView.value}),
                 fieldsAfter);
        QCOMPARE(rig.channelView.closedCount, closed ? 1 : 0);
        QCOMPARE(rig.channelView.valueFocused, button == QLatin1String("apply"));
        QCOMPARE(rig.messages.shown, QStringList{});
    }

    void applyMovesOnChannelByChannel() {
        EditorRig rig(Generation::Mk1, 512);
        startAndFill(rig, "1", "10", "50");
        Channel channel(rig.form, rig.channelView);
        channel.onApplyBtn();
        QCOMPARE((QStringList{rig.channelView.first, rig.channelView.last, rig.channelView.value}),
                 (QStringList{"11", "11", "50"}));
        channel.onApplyBtn();
        QCOMPARE((QStringList{rig.channelView.first, rig.channelView.last, rig.channelView.value}),
                 (QStringList{"12", "12", "50"}));
        QCOMPARE(rig.sent(), (QList<Bytes>{Bytes{1, 0, 1} + Bytes(10, 50), {1, 0, 11, 50}}));
        QCOMPARE(rig.columnTexts(1).first(12), QStringList(11, "50") + QStringList{"49"});
    }

    void refusesTheFirstBadField_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("message");
        const QString value = QStringLiteral("Invalid value");
        const QString last = QStringLiteral("Invalid last channel");
        const QString first = QStringLiteral("Invalid first channel");
        QTest::newRow("value 256") << "apply" << QStringList{"1", "2", "256"} << value;
        QTest::newRow("value -1") << "apply" << QStringList{"1", "2", "-1"} << value;
        QTest::newRow("value 255 beyond 16 bits") << "apply" << QStringList{"1", "2", "65791"} << value;
        QTest::newRow("value not a number") << "apply" << QStringList{"1", "2", "1e"} << value;
        QTest::newRow("last past the grid") << "apply" << QStringList{"1", "513", "5"} << last;
        QTest::newRow("last empty") << "apply" << QStringList{"1", "", "5"} << last;
        QTest::newRow("last beyond 16 bits") << "apply" << QStringList{"1", "70000", "5"} << last;
        QTest::newRow("first 0") << "apply" << QStringList{"0", "2", "5"} << first;
        QTest::newRow("first empty") << "apply" << QStringList{"", "2", "5"} << first;
        QTest::newRow("first 1 beyond 16 bits") << "apply" << QStringList{"65537", "2", "5"} << first;
        QTest::newRow("first not a number") << "apply" << QStringList{"one", "2", "5"} << first;
        QTest::newRow("all bad: value first") << "apply" << QStringList{"0", "513", "256"} << value;
        QTest::newRow("channels bad: last first") << "apply" << QStringList{"0", "513", "5"} << last;
        QTest::newRow("Enter, value") << "enter" << QStringList{"1", "2", "256"} << value;
        QTest::newRow("Enter, last past the grid") << "enter" << QStringList{"1", "513", "5"} << last;
        QTest::newRow("Enter, first 0") << "enter" << QStringList{"0", "2", "5"} << first;
    }
    void refusesTheFirstBadField() {
        QFETCH(QString, button);
        QFETCH(QStringList, fields);
        QFETCH(QString, message);
        EditorRig rig(Generation::Mk1, 512);
        startAndFill(rig, fields[0], fields[1], fields[2]);
        Channel channel(rig.form, rig.channelView);
        const QList<QStringList> cells = rig.allCells();

        press(channel, button);

        QCOMPARE(rig.messages.shown, QStringList{message});
        QCOMPARE(rig.sent(), QList<Bytes>{});
        QCOMPARE(rig.allCells(), cells);
        QCOMPARE((QStringList{rig.channelView.first, rig.channelView.last, rig.channelView.value}), fields);
        QVERIFY(!rig.channelView.valueFocused);
        QCOMPARE(rig.channelView.closedCount, 0);
    }

    void theSceneIsTheOneCurrentAtThePress() {
        EditorRig rig(Generation::Mk2, 256);
        startAndFill(rig, "x", "x", "x");
        Channel channel(rig.form, rig.channelView);
        rig.grid.setRow(5);
        rig.grid.setCol(1);
        rig.form.onGridClick();
        rig.form.onNextBtn();
        rig.channelView.value = QStringLiteral("99");
        channel.onApplyBtn();
        QCOMPARE(rig.sent(), (QList<Bytes>{{3, 2}, {1, 0, 5, 99}}));
        QCOMPARE(rig.columnTexts(2)[4], QStringLiteral("99"));
        QCOMPARE(rig.controllerLevels(2), rig.columnTexts(2));
        QCOMPARE(rig.controllerLevels(1), rig.columnTexts(1));
        QCOMPARE(rig.columnTexts(1)[4], QString::number(37 + 5));
    }

    void aClickOnTheCurrentSceneFillsTheDialog_data() {
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("current scene") << 3 << 3 << QStringList{"17", "17", "128"};
        QTest::newRow("another scene") << 2 << 3 << QStringList{"typed", "typed", "typed"};
        QTest::newRow("no current scene") << 3 << 0 << QStringList{"typed", "typed", "typed"};
    }
    void aClickOnTheCurrentSceneFillsTheDialog() {
        QFETCH(int, col);
        QFETCH(int, current);
        QFETCH(QStringList, fields);
        EditorRig rig(Generation::Mk1, 512);
        startAndFill(rig, "typed", "typed", "typed");
        rig.form.scene(3);
        rig.form.nscene = static_cast<std::int16_t>(current);
        rig.grid.setRow(17);
        rig.grid.setCol(col);
        rig.grid.setText(QStringLiteral("128"));
        rig.forget();

        rig.form.onGridClick();

        const bool opens = fields[0] != QLatin1String("typed");
        QCOMPARE((QStringList{rig.channelView.first, rig.channelView.last, rig.channelView.value}), fields);
        QCOMPARE(rig.channelView.shownCount, opens ? 1 : 0);
        QCOMPARE(rig.channelView.valueFocused, opens);
        QCOMPARE(rig.sent(), QList<Bytes>{});
    }
};

QTEST_GUILESS_MAIN(ChannelRangeTest)
#include "channel_range_test.moc"
