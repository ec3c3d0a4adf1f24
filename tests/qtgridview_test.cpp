#include "qt/QtGridView.h"
#include "qt/QtTwips.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QStyledItemDelegate>
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

    void cellsLookAsTheToolkitDrawsThem_data() {
        QTest::addColumn<qreal>("points"); // 0 for the view's own; each size centres lines of its height
        QTest::addColumn<bool>("dark");    // a desktop's light text on dark cells; the cyan cells keep theirs
        QTest::newRow("default font") << 0.0 << false;
        QTest::newRow("8.25 pt") << 8.25 << false;
        QTest::newRow("12 pt") << 12.0 << false;
        QTest::newRow("dark palette") << 0.0 << true;
    }

    void cellsLookAsTheToolkitDrawsThem() {
        QFETCH(qreal, points);
        QFETCH(bool, dark);
        if (dark) {
            QPalette palette = view->palette();
            palette.setColor(QPalette::Base, QColor(27, 30, 32));
            palette.setColor(QPalette::Text, QColor(252, 252, 252));
            view->setPalette(palette);
        }
        QFont font = view->font();
        font.setPointSizeF(points > 0 ? points : font.pointSizeF());
        view->setFont(font);
        // Rows that hold the text, as the view makes them for the font it starts with.
        view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
        model->setPlacement({0, 0, 6000, 3000});
        for (int r = 1; r < model->rows(); ++r) {
            model->setRow(r);
            for (int c = 1; c < model->cols(); ++c) {
                model->setCol(c);
                model->setText(QString::number(r * 37 % 256));
                if (c == 2) {
                    model->setCellBackColor(0xFFFF00);
                }
            }
        }
        // A text too wide for its cell, elided by the toolkit.
        model->setRow(3);
        model->setText(QStringLiteral("a text far wider than the cell"));
        view->selectionModel()->select(model->index(4, 0), QItemSelectionModel::Select);
        QCoreApplication::processEvents();
        const QImage drawn = view->viewport()->grab().toImage();
        view->setItemDelegate(new QStyledItemDelegate(view));
        QCOMPARE(view->viewport()->grab().toImage(), drawn);
    }
};

QTEST_MAIN(QtGridViewTest)
#include "qtgridview_test.moc"
