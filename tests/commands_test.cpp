#include "device/Commands.h"
#include "support/Traffic.h"

#include <QTest>

#include <vector>

namespace {
Bytes sentPart(const CommandBuffer<16>& buffer, std::int16_t length) {
    return Bytes(buffer.begin(), buffer.begin() + length);
}

// A set_levels of one level for a run of channels, as the channel range dialog builds it.
Bytes setLevels(std::int16_t first, std::int16_t last, std::int16_t level) {
    CommandBuffer<16> buffer{};
    const std::vector<std::int16_t> levels(static_cast<std::size_t>(last - first + 1), level);
    return sentPart(buffer, command::putSetLevels(buffer, first, levels));
}

Bytes built(std::int16_t (*put)(std::span<std::int16_t>, std::int16_t), std::int16_t value) {
    CommandBuffer<16> buffer{};
    return sentPart(buffer, put(buffer, value));
}
} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void frames_data() {
        QTest::addColumn<Bytes>("built");
        QTest::addColumn<Bytes>("expected");
        QTest::newRow("select scene 60") << built(command::putSelectScene, 60) << Bytes{3, 60};
        QTest::newRow("scene size code 1") << built(command::putSetSceneSize, 1) << Bytes{2, 1};
        QTest::newRow("get version") << built(command::putCode, command::get_version) << Bytes{12};
        QTest::newRow("channel 300 at 255") << setLevels(300, 300, 255) << Bytes{1, 1, 44, 255};
        QTest::newRow("channels 510..512 at 7") << setLevels(510, 512, 7) << Bytes{1, 1, 254, 7, 7, 7};
        QTest::newRow("channel 1 at 0") << setLevels(1, 1, 0) << Bytes{1, 0, 1, 0};
        QTest::newRow("channel 256 at 128") << setLevels(256, 256, 128) << Bytes{1, 1, 0, 128};
    }
    void frames() {
        QFETCH(Bytes, built);
        QFETCH(Bytes, expected);
        QCOMPARE(built, expected);
    }

    void sceneSizeReply_data() {
        QTest::addColumn<std::int16_t>("low");
        QTest::addColumn<std::int16_t>("high");
        QTest::addColumn<int>("channels");
        QTest::newRow("0,2") << std::int16_t(0) << std::int16_t(2) << 512;
        QTest::newRow("128,0") << std::int16_t(128) << std::int16_t(0) << 128;
        QTest::newRow("0,1") << std::int16_t(0) << std::int16_t(1) << 256;
        QTest::newRow("0,200 stays positive") << std::int16_t(0) << std::int16_t(200) << 51200;
        QTest::newRow("255,255") << std::int16_t(255) << std::int16_t(255) << 65535;
    }
    void sceneSizeReply() {
        QFETCH(std::int16_t, low);
        QFETCH(std::int16_t, high);
        QFETCH(int, channels);
        QCOMPARE(command::sceneSizeFromReply(low, high), channels);
    }

    void sceneCounts_data() {
        QTest::addColumn<std::int16_t>("code");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("mk1Scenes");
        QTest::addColumn<int>("mk2Scenes");
        QTest::newRow("512") << std::int16_t(0) << 512 << 15 << 13;
        QTest::newRow("256") << std::int16_t(1) << 256 << 30 << 27;
        QTest::newRow("128") << std::int16_t(2) << 128 << 60 << 55;
    }
    void sceneCounts() {
        QFETCH(std::int16_t, code);
        QFETCH(int, channels);
        QFETCH(int, mk1Scenes);
        QFETCH(int, mk2Scenes);
        QCOMPARE(int(scene_size::channelsFor(code)), channels);
        QCOMPARE(scene_size::codeForChannels(channels), std::optional<std::int16_t>(code));
        // A generation not yet asked counts as Mk1.
        QCOMPARE(int(scene_size::scenesFor(code, 0)), mk1Scenes);
        QCOMPARE(int(scene_size::scenesFor(code, 1)), mk1Scenes);
        QCOMPARE(int(scene_size::scenesFor(code, 2)), mk2Scenes);
    }

    void otherCountsHaveNoCode() {
        for (const int channels : {0, 100, 129, 1024, 51200}) {
            QVERIFY2(!scene_size::codeForChannels(channels), QByteArray::number(channels));
        }
    }
};

QTEST_GUILESS_MAIN(CommandsTest)
#include "commands_test.moc"
