#include "editor/AppTexts.h"
#include "qt/QtChannelWindow.h"
#include "qt/QtChooserWindow.h"
#include "qt/QtEditor.h"
#include "qt/QtMainWindow.h"
#include "qt/QtTwips.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include <memory>

Q_DECLARE_METATYPE(TwipRect)

// The three windows against their designs: names, kinds, captions, places, tips and tab order.
class WindowDesignTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtMainWindow> main;
    std::unique_ptr<QtChooserWindow> chooser;

    // The main window's own controls sit in its client area; the channel dialog is its child too.
    QWidget* controls(const QString& window) {
        return window == QLatin1String("GridForm") ? main->centralWidget() : this->window(window);
    }

    QWidget* window(const QString& name) {
        if (name == QLatin1String("GridForm")) {
            return main.get();
        }
        if (name == QLatin1String("Channel")) {
            return &main->channelWindow();
        }
        return chooser.get();
    }

    // One pixel's worth of twips either way.
    static bool near(const TwipRect& actual, const TwipRect& expected) {
        const auto close = [](int a, int b) {
            return std::abs(a - b) <= twipsPerInch / 96;
        };
        return close(actual.left, expected.left) && close(actual.top, expected.top) &&
               close(actual.width, expected.width) && close(actual.height, expected.height);
    }

    static QString caption(const QObject* control) {
        const QVariant title = control->property("title");
        return title.isValid() ? title.toString() : control->property("text").toString();
    }

private slots:
    void initTestCase() {
        QtEditor::useDesignFont();
        main = std::make_unique<QtMainWindow>();
        chooser = std::make_unique<QtChooserWindow>();
    }

    void controlsFollowTheDesign_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<TwipRect>("rect");
        QTest::addColumn<QString>("tip");
        const auto row = [](const char* window, const char* name, const char* kind, const char* caption,
                            TwipRect rect, const char* tip = "") {
            QTest::addRow("%s.%s", window, name)
                << QString::fromLatin1(window) << QString::fromLatin1(name) << QString::fromLatin1(kind)
                << QString::fromLatin1(caption) << rect << QString::fromLatin1(tip);
        };
        row("GridForm", "NextBtn", "QPushButton", "&Go to Next Scene", {120, 120, 1935, 615},
            "Click to select next scene");
        row("GridForm", "Frame1", "QGroupBox", "", {2400, 0, 2895, 735});
        row("GridForm", "SetBtn", "QPushButton", "&Select Scene", {240, 240, 1455, 375},
            "Select scene by number");
        row("GridForm", "Text1", "QLineEdit", "", {2040, 240, 615, 285});
        row("GridForm", "savescenebtn", "QPushButton", "Sa&ve Scene", {5520, 240, 1695, 375}, "Save Scene");
        row("GridForm", "ExitBtn", "QPushButton", "E&xit", {7440, 240, 975, 375}, "End programme");
        row("GridForm", "Text2", "QLineEdit", "Text2", {8760, 240, 2055, 285});
        row("GridForm", "Grid1", "QTableView", "", {360, 840, 10815, 6735});
        row("Channel", "Label1", "QLabel", "&First Channel", {240, 240, 1095, 255});
        row("Channel", "Text1", "QLineEdit", "", {1320, 240, 495, 285});
        row("Channel", "Label2", "QLabel", "&Last Channel", {240, 600, 1095, 255});
        row("Channel", "Text2", "QLineEdit", "", {1320, 600, 495, 285});
        row("Channel", "Label3", "QLabel", "&Value", {240, 960, 1095, 255});
        row("Channel", "Text3", "QLineEdit", "", {1320, 960, 495, 285});
        row("Channel", "ApplyBtn", "QPushButton", "&Apply", {240, 1440, 1575, 375},
            "Apply data and move on to next channel");
        row("Channel", "CancelBtn", "QPushButton", "&Cancel", {240, 1920, 1575, 375}, "Close form");
        row("Channel", "EnterBtn", "QPushButton", "&Enter", {240, 2400, 1575, 375},
            "Apply data and close form");
        row("Form1", "Option1", "QRadioButton", "512 Channels", {360, 480, 1455, 375});
        row("Form1", "Option2", "QRadioButton", "256 Channels", {360, 840, 1455, 375});
        row("Form1", "Option3", "QRadioButton", "128 Channels", {360, 1200, 1335, 375});
        row("Form1", "Command1", "QPushButton", "OK", {2640, 720, 1215, 615});
    }

    void controlsFollowTheDesign() {
        QFETCH(QString, window);
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(TwipRect, rect);
        QFETCH(QString, tip);
        auto* control = controls(window)->findChild<QWidget*>(name);
        QVERIFY(control);
        QVERIFY(control->inherits(kind.toLatin1()));
        QCOMPARE(this->caption(control), caption);
        const TwipRect actual = toTwips(control->geometry(), *control);
        QVERIFY2(near(actual, rect), qPrintable(QStringLiteral("%1,%2 %3x%4")
                                                    .arg(actual.left)
                                                    .arg(actual.top)
                                                    .arg(actual.width)
                                                    .arg(actual.height)));
        QCOMPARE(control->toolTip(), tip);
    }

    void windowsHaveTheirTitlesAndClientAreas_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::addColumn<TwipSize>("client");
        QTest::newRow("GridForm") << "GridForm" << texts::appTitle << TwipSize{11190, 7845};
        QTest::newRow("Channel") << "Channel"
                                 << "Set Channel" << TwipSize{2250, 2865};
        QTest::newRow("Form1") << "Form1"
                               << "Select Channels per Scene" << TwipSize{4185, 2010};
    }

    void windowsHaveTheirTitlesAndClientAreas() {
        QFETCH(QString, window);
        QFETCH(QString, title);
        QFETCH(TwipSize, client);
        QWidget* shown = this->window(window);
        shown->show();
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shown->windowTitle(), title);
        QWidget* area = window == QLatin1String("GridForm") ? main->centralWidget() : shown;
        const TwipRect actual = toTwips(QRect(QPoint(), area->size()), *area);
        QVERIFY(near(actual, {0, 0, client.width, client.height}));
        shown->hide();
    }

    void tabOrderFollowsTheDesign_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("GridForm") << "GridForm"
                                  << QStringList{"Grid1", "NextBtn", "SetBtn", "ExitBtn", "Text1", "Text2"};
        QTest::newRow("Channel") << "Channel" << QStringList{"Text3",    "ApplyBtn", "CancelBtn",
                                                             "EnterBtn", "Text1",    "Text2"};
        QTest::newRow("Form1") << "Form1" << QStringList{"Option1", "Option2", "Option3", "Command1"};
    }

    void tabOrderFollowsTheDesign() {
        QFETCH(QString, window);
        QFETCH(QStringList, order);
        QWidget* first = controls(window)->findChild<QWidget*>(order.first());
        QVERIFY(first);
        // savescenebtn would follow Text2 in the main window; hidden, it takes no focus.
        QStringList visited{first->objectName()};
        for (QWidget* w = first->nextInFocusChain(); w != first; w = w->nextInFocusChain()) {
            // An option button that is not chosen takes the focus by arrow keys only, so any focus counts.
            if (w->focusPolicy() != Qt::NoFocus && !w->isHidden() && w->window() == first->window() &&
                !w->objectName().isEmpty() && w->objectName() != QLatin1String("qt_scrollarea_viewport")) {
                visited << w->objectName();
            }
        }
        QCOMPARE(visited, order);
    }

    void theFocusStartsOnTheDesignedControl_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::newRow("GridForm") << "GridForm"
                                  << "Grid1";
        QTest::newRow("Channel") << "Channel"
                                 << "Text3";
    }

    void theFocusStartsOnTheDesignedControl() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QCOMPARE(this->window(window)->focusWidget()->objectName(), control);
    }

    void mainWindowStartsAsDesigned() {
        QWidget* area = main->centralWidget();
        QVERIFY(area->findChild<QWidget*>("savescenebtn")->isHidden());
        QCOMPARE(area->findChild<QWidget*>("NextBtn")->font().weight(), QFont::Bold);
        QCOMPARE(area->findChild<QWidget*>("SetBtn")->font().weight(), QFont::Normal);
        // The save button is the last stop of the tab order once it shows.
        QCOMPARE(area->findChild<QWidget*>("Text2")->nextInFocusChain()->objectName(),
                 QStringLiteral("savescenebtn"));
    }

    void theDesignsFontOutlivesATheme() {
        const QString design = QApplication::font().toString();
        // As a desktop theme sets its own once the program runs.
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 12));
        QCOMPARE(QApplication::font().toString(), design);
        QCOMPARE(main->centralWidget()->findChild<QWidget*>("SetBtn")->font().toString(), design);
    }

    void menuBarFollowsTheDesign() {
        const auto entries = [](const QList<QAction*>& actions) {
            QStringList list;
            for (const QAction* action : actions) {
                list << action->objectName() + QLatin1Char('=') + action->text();
                if (!action->shortcut().isEmpty() || !action->isEnabled() || action->isChecked()) {
                    list << QStringLiteral("unexpected state");
                }
            }
            return list;
        };
        QCOMPARE(entries(main->menuBar()->actions()),
                 (QStringList{"NewMenu=&New", "OpenMenu=&Open", "SaveAsMenu=Save &As", "ReadMenu=&Read Data",
                              "ResetMenu=Rese&t", "CommsMenu=&Change Comms", "ExitMenu=E&xit"}));
        auto* reset = main->findChild<QMenu*>("ResetMenu");
        QVERIFY(reset);
        QCOMPARE(entries(reset->actions()),
                 (QStringList{"SceneResetMenu=&This Scene", "AllResetMenu=&All Scenes"}));
        // The other entries act straight from the bar.
        QCOMPARE(main->findChild<QAction*>("NewMenu")->menu(), nullptr);
    }

    void channelDialogButtonsAsDesigned() {
        QWidget& channel = main->channelWindow();
        QVERIFY(channel.findChild<QPushButton*>("ApplyBtn")->isDefault());
        QVERIFY(!channel.findChild<QPushButton*>("EnterBtn")->autoDefault());
        QVERIFY(!channel.findChild<QPushButton*>("CancelBtn")->autoDefault());
        QCOMPARE(channel.findChild<QLabel*>("Label3")->buddy(), channel.findChild<QWidget*>("Text3"));
        QVERIFY(!channel.isModal());
    }

    void chooserStartsAsDesigned() {
        QVERIFY(chooser->findChild<QAbstractButton*>("Option1")->isChecked());
        auto* ok = chooser->findChild<QPushButton*>("Command1");
        QVERIFY(!ok->isDefault());
        QVERIFY(!ok->autoDefault());
    }

    void chooserLinesDrawTheBox_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QPoint>("from");
        QTest::addColumn<QPoint>("to");
        QTest::newRow("Line1") << "Line1" << QPoint(240, 360) << QPoint(1920, 360);
        QTest::newRow("Line2") << "Line2" << QPoint(240, 1680) << QPoint(1920, 1680);
        QTest::newRow("Line3") << "Line3" << QPoint(240, 360) << QPoint(240, 1680);
        QTest::newRow("Line4") << "Line4" << QPoint(1920, 360) << QPoint(1920, 1680);
    }

    void chooserLinesDrawTheBox() {
        QFETCH(QString, name);
        QFETCH(QPoint, from);
        QFETCH(QPoint, to);
        auto* line = chooser->findChild<QFrame*>(name);
        QVERIFY(line);
        const QRect pixels = line->geometry();
        const TwipRect start = toTwips(QRect(pixels.topLeft(), QSize()), *line);
        const TwipRect end = toTwips(QRect(pixels.bottomRight(), QSize()), *line);
        QVERIFY(near({start.left, start.top, end.left, end.top}, {from.x(), from.y(), to.x(), to.y()}));
        QCOMPARE(line->frameShape(), from.y() == to.y() ? QFrame::HLine : QFrame::VLine);
    }
};

QTEST_MAIN(WindowDesignTest)
#include "windowdesign_test.moc"
