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

    int pixels(int twips) const { return twipsToPixels(twips, area->logicalDpiX()); }

private slots:
    void init() {
        area = std::make_unique<QWidget>();
        area->resize(800, 600);
        model = new QtGridModel(area.get());
        view = new QtGridView(*model, area.get());
        model->setRows(11);
        model->setCols(4);
        area->show();
        QVERIFY(QTest::qWaitForWindowExposed(area.get()));
    }

    void cleanup() { area.reset(); }

    void takesItsPlaceFromTheGrid() {
        model->setPlacement({100, 840, 3000, 1500});
        QCOMPARE(view->geometry(), toPixels(TwipRect{100, 840, 3000, 1500}, *area));
    }

    void headersHaveFixedSizesAndCellsCannotBeEdited() {
        QCOMPARE(view->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(view->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(view->editTriggers(), QAbstractItemView::NoEditTriggers);
        QVERIFY(!view->tabKeyNavigation());
    }

    void columnWidthsHoldThroughANewLayout() {
        model->setColWidth(0, 600);
        model->setColWidth(2, 750);
        QCOMPARE(view->verticalHeader()->width(), pixels(600));
        QCOMPARE(view->columnWidth(1), pixels(750));
        model->setRows(21);
        QCOMPARE(view->verticalHeader()->width(), pixels(600));
        QCOMPARE(view->columnWidth(1), pixels(750));
    }

    void aClickOnADataCellMakesItCurrent() {
        QSignalSpy clicks(view, &QtGridView::gridClicked);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(model->index(6, 2)).center());
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(model->row(), 7);
        QCOMPARE(model->col(), 3);
    }

    void aClickOnAHeaderIsNoGridClick() {
        QSignalSpy clicks(view, &QtGridView::gridClicked);
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(1) + 2, header->height() / 2));
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(model->row(), 0);
        QCOMPARE(model->col(), 0);
    }
};

QTEST_MAIN(QtGridViewTest)
#include "qtgridview_test.moc"
