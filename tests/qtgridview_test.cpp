#include "main/QtGridView.h"
#include "platform/QtTwips.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

#include <memory>

class QtGridViewTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QWidget> area;
    QtGridModel* model = nullptr;
    QtGridView* view = nullptr;

private slots:
    void init() {
        area = std::make_unique<QWidget>();
        model = new QtGridModel(area.get());
        view = new QtGridView(*model, area.get());
        model->setRows(11);
        model->setCols(4);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area.get()));
    }

    void cleanup() { area.reset(); }

    void takesPlaceAndFixedWidthsFromTheGrid() {
        model->setPlacement({100, 840, 3000, 1500});
        QCOMPARE(view->geometry(), toPixels(TwipRect{100, 840, 3000, 1500}, *area));
        QCOMPARE(view->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        model->setColWidth(0, 600);
        model->setColWidth(2, 750);
        // A new layout of the grid keeps the widths set before.
        model->setRows(21);
        QCOMPARE(view->verticalHeader()->width(), 40);
        QCOMPARE(view->columnWidth(1), 50);
    }

    void aClickOnAHeaderIsNoGridClick() {
        QSignalSpy clicks(view, &QtGridView::gridClicked);
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 2, header->height() / 2));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(model->col(), 0);
    }
};

QTEST_MAIN(QtGridViewTest)
#include "qtgridview_test.moc"
