#include "editor/AppTexts.h"
#include "support/ControllerProcess.h"
#include "support/DisplayRig.h"
#include "support/DrivenBuild.h"
#include "support/WinePrefix.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

using namespace std::chrono_literals;

namespace {
constexpr QRgb cyan = 0xFF00FFFF;
constexpr QRgb white = 0xFFFFFFFF;
// WCAG AA for text.
constexpr double legible = 4.5;

// WCAG's contrast ratio of two colours, from their relative luminance.
double contrast(QRgb one, QRgb other) {
    const auto luminance = [](QRgb rgb) {
        const auto linear = [](int value) {
            const double c = value / 255.0;
            return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
    };
    const double a = luminance(one);
    const double b = luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// The text drawn in an area of one colour: how far its strongest pixel stands out from that colour,
// and how many pixels high it is (0 where nothing stands out).
struct Ink {
    double contrast = 1;
    int height = 0;
};

// The area of the seed's colour around it: up and down its column, then along the area's top row.
// A cell or a box leaves room around its text, so that row and column cross none of it.
QRect areaAround(const QImage& shot, QPoint seed) {
    const QRgb colour = shot.pixel(seed);
    const auto same = [&](int x, int y) {
        return shot.valid(x, y) && shot.pixel(x, y) == colour;
    };
    int top = seed.y(), bottom = seed.y(), left = seed.x(), right = seed.x();
    while (same(seed.x(), top - 1)) {
        --top;
    }
    while (same(seed.x(), bottom + 1)) {
        ++bottom;
    }
    while (same(left - 1, top)) {
        --left;
    }
    while (same(right + 1, top)) {
        ++right;
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The text in an area of one colour. A frame drawn in the area's colour outside and another inside
// (a sunken box in high contrast) leaves lines across it that are no text: a row or column that
// differs from the area's colour over most of its length is taken for such a line.
Ink inkIn(const QImage& shot, const QRect& area) {
    const QRgb background = shot.pixel(area.topLeft());
    const auto differs = [&](int x, int y) {
        return shot.pixel(x, y) != background;
    };
    std::vector<int> inRow(static_cast<std::size_t>(area.height()));
    std::vector<int> inColumn(static_cast<std::size_t>(area.width()));
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (differs(x, y)) {
                ++inRow[static_cast<std::size_t>(y - area.top())];
                ++inColumn[static_cast<std::size_t>(x - area.left())];
            }
        }
    }
    const auto line = [](int count, int length) {
        return count * 5 >= length * 4;
    };
    Ink ink;
    int top = area.bottom() + 1;
    int bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (differs(x, y) && !line(inRow[static_cast<std::size_t>(y - area.top())], area.width()) &&
                !line(inColumn[static_cast<std::size_t>(x - area.left())], area.height())) {
                ink.contrast = std::max(ink.contrast, contrast(shot.pixel(x, y), background));
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ink.height = std::max(bottom - top + 1, 0);
    return ink;
}

std::optional<QPoint> firstPixel(const QImage& shot, QRgb colour, const QRect& within) {
    for (int y = within.top(); y <= within.bottom(); ++y) {
        for (int x = within.left(); x <= within.right(); ++x) {
            if (shot.valid(x, y) && shot.pixel(x, y) == colour) {
                return QPoint(x, y);
            }
        }
    }
    return std::nullopt;
}

// The status line's message: the line is white while it shows one, and stands at the right of the
// row of buttons, below the menu bar, 2055 twips wide.
std::optional<Ink> statusInk(const QImage& shot, const QRect& window, qreal scale) {
    const int x = window.left() + qRound((8760 + 2055 - 150) * scale / 15);
    const int below = window.top() + qRound(900 * scale / 15) + 40;
    for (int y = window.top(); y < below; ++y) {
        if (shot.pixel(x, y) == white) {
            const QRect line = areaAround(shot, QPoint(x, y));
            // Inside its frame.
            if (std::abs(line.width() - 2055 * scale / 15) <= 6 * scale) {
                return inkIn(shot, line);
            }
            y = std::max(y, line.bottom());
        }
    }
    return std::nullopt;
}

// A level in the current scene's cyan column, and the one beside it in the white column to its
// right, halfway down the window: the first channel's cell may hold the focus, and its frame.
std::optional<std::pair<Ink, Ink>> cellInks(const QImage& shot, const QRect& window) {
    // The first cyan pixel of a row is at the left edge of its cell, where no text reaches.
    const std::optional<QPoint> cyanCell =
        firstPixel(shot, cyan, window.adjusted(0, window.height() / 2, 0, 0));
    if (!cyanCell) {
        return std::nullopt;
    }
    const QRect cyanArea = areaAround(shot, *cyanCell);
    // Past the grid line.
    const std::optional<QPoint> whiteCell =
        firstPixel(shot, white, QRect(cyanArea.right() + 1, cyanArea.top(), 8, 1));
    if (!whiteCell) {
        return std::nullopt;
    }
    return std::pair{inkIn(shot, cyanArea), inkIn(shot, areaAround(shot, *whiteCell))};
}
} // namespace

// The editor on the desktops its users have: dark colours, a theme with a font of its own, a
// scaled screen, Windows in high contrast. Every level and message on a colour the program sets
// must read (WCAG AA), and in the design's font: its digits as high as on the default desktop,
// times the scale. Each desktop is a home folder of tests/data/desktops given to the editor alone,
// and under wine the registry.reg in it.
class DesktopsDisplayTest : public QObject {
    Q_OBJECT

    DrivenBuild build;
    // The default desktop's digits, which the other desktops' are held to.
    std::optional<int> defaultDigitHeight;

    // Puts the high-contrast colours in wine's registry, which the prefix's other tests share, and
    // gives back what was there before.
    QString changeWineRegistry(const QString& file, const QString& folder, QStringList& backups) {
        for (const QString& key :
             {QStringLiteral("HKCU\\Control Panel\\Colors"),
              QStringLiteral("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\ThemeManager")}) {
            backups << QDir(folder).filePath(QStringLiteral("backup%1.reg").arg(backups.size()));
            if (const QString failed = exportWineRegistry(key, backups.last(), build.wine);
                !failed.isEmpty()) {
                return failed;
            }
        }
        return importWineRegistry(file, build.wine);
    }

    // Starts the editor on the desktop and holds what it shows to the rules above. The default
    // desktop's digits give the height the others are held to; they are measured before any other.
    void readOn(const QString& desktop, const QStringList& environment, qreal scale) {
        DisplayRig rig;
        const QString home = QDir(rig.folder.path()).filePath(QStringLiteral("home"));
        const QString data = QStringLiteral(DMX_TEST_DATA "/desktops/") + desktop;
        QVERIFY(desktop.isEmpty()
                    ? QDir().mkpath(home)
                    : QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-rT"), data, home}) == 0);
        QProcessEnvironment settings;
        settings.insert(QStringLiteral("HOME"), home);
        settings.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(home).filePath(QStringLiteral(".config")));
        for (const QString& setting : environment) {
            settings.insert(setting.section(QLatin1Char('='), 0, 0), setting.section(QLatin1Char('='), 1));
        }
        QStringList backups;
        const auto restore = qScopeGuard([&] {
            for (const QString& backup : backups) {
                importWineRegistry(backup, build.wine);
            }
        });
        if (const QString registry = QDir(data).filePath(QStringLiteral("registry.reg"));
            QFile::exists(registry)) {
            const QString failed = changeWineRegistry(registry, rig.folder.path(), backups);
            QVERIFY2(failed.isEmpty(), qPrintable(failed));
        }

        // The last scene never answers: "Comms error" stands over the window while the status line
        // says which scene is being read.
        ControllerProcess controller = build.startController(
            {QStringLiteral("--pattern"), QStringLiteral("--fault"), QStringLiteral("silent:4:15")});
        QVERIFY2(controller.failure().isEmpty(), qPrintable(controller.failure()));
        build.launch(rig, settings);
        QVERIFY2(rig.answerPrompt(QString::number(controller.port())) &&
                     rig.answerPrompt(QStringLiteral("1")),
                 "the start prompts did not come");
        QVERIFY2(rig.nextWindow(texts::appTitle, 60s), "no \"Comms error\" came");
        const auto main = rig.mainWindow();
        QVERIFY(main);
        const QRect window = rig.x.geometry(*main);
        std::optional<Ink> status;
        XSession::pollUntil(
            [&] { return (status = statusInk(rig.x.screenshot(), window, scale)) && status->height; }, 10s);
        QVERIFY2(status, "no status line showed a message");
        // The read ends by making scene 1 current.
        rig.x.key(QStringLiteral("Return"));
        QVERIFY(controller.waitForLast(QByteArray("\x03\x01"), 10s));
        std::optional<std::pair<Ink, Ink>> cells;
        XSession::pollUntil(
            [&] {
                return (cells = cellInks(rig.x.screenshot(), window)) && cells->first.height &&
                       cells->second.height;
            },
            10s);
        QCOMPARE(rig.exitByMenu(), 0);

        QVERIFY2(cells, "no cyan cell with a white one beside it showed");
        const auto [cyanInk, whiteInk] = *cells;
        for (const auto& [what, ink] : {std::pair{"the status line's message", *status},
                                        {"a level on cyan", cyanInk},
                                        {"a level on white", whiteInk}}) {
            QVERIFY2(
                ink.contrast >= legible,
                qPrintable(QStringLiteral("%1 contrasts %2:1").arg(QLatin1String(what)).arg(ink.contrast)));
        }
        if (desktop.isEmpty() && scale == 1.0) {
            defaultDigitHeight = cyanInk.height;
        }
        const int expected = qRound(*defaultDigitHeight * scale);
        for (const int height : {cyanInk.height, whiteInk.height}) {
            // Text scaled by a fraction is smoothed over a pixel more.
            QVERIFY2(std::abs(height - expected) <= std::ceil(scale),
                     qPrintable(QStringLiteral("digits %1 pixels high, not %2").arg(height).arg(expected)));
        }
    }

private slots:
    void initTestCase() {
        DMX_REQUIRE_DISPLAY();
        const QString failed = build.pointCom1();
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
    }

    void levelsAndMessagesReadInTheDesignsFont_data() {
        QTest::addColumn<QString>("desktop"); // a folder of tests/data/desktops, or none
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<qreal>("scale");
        QTest::newRow("default") << QString() << QStringList() << 1.0;
        if (build.underWine()) {
            QTest::newRow("Windows high contrast") << "windows-high-contrast" << QStringList() << 1.0;
            return;
        }
        QTest::newRow("KDE Breeze Dark")
            << "kde-breeze-dark"
            << QStringList{"KDE_FULL_SESSION=true", "KDE_SESSION_VERSION=5", "XDG_CURRENT_DESKTOP=KDE"}
            << 1.0;
        QTest::newRow("qt6ct dark, 12 pt")
            << "qt6ct-dark-12pt" << QStringList{"QT_QPA_PLATFORMTHEME=qt6ct"} << 1.0;
        QTest::newRow("scale 1.5") << QString() << QStringList{"QT_SCALE_FACTOR=1.5"} << 1.5;
    }

    void levelsAndMessagesReadInTheDesignsFont() {
        QFETCH(QString, desktop);
        QFETCH(QStringList, environment);
        QFETCH(qreal, scale);
        // A row run alone, or before the default one, measures the default desktop first.
        if (!defaultDigitHeight && (!desktop.isEmpty() || scale != 1.0)) {
            readOn(QString(), {}, 1.0);
            if (QTest::currentTestFailed()) {
                return;
            }
        }
        readOn(desktop, environment, scale);
    }
};

QTEST_GUILESS_MAIN(DesktopsDisplayTest)
#include "desktops_display_test.moc"
