#include "main/QtGridView.h"

#include "platform/QtTwips.h"

#include <QHeaderView>

QtGridView::QtGridView(QtGridModel& model, QWidget* parent)
    : QTableView(parent)
    , grid(model) {
    setObjectName(QStringLiteral("Grid1"));
    setModel(&grid);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab leaves the grid for the next control instead of walking its cells.
    setTabKeyNavigation(false);
    // Sizes to fit the contents would be measured over every cell of a grid of hundreds of rows.
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);

    connect(&grid, &QtGridModel::placementChanged, this, &QtGridView::place);
    connect(&grid, &QtGridModel::colWidthChanged, this, &QtGridView::applyColWidth);
    connect(&grid, &QAbstractItemModel::modelReset, this, &QtGridView::reapplyColWidths);
    connect(this, &QAbstractItemView::clicked, this, &QtGridView::onClicked);
}

void QtGridView::place(const TwipRect& placement) {
    setGeometry(toPixels(placement, *this));
}

void QtGridView::applyColWidth(int col, int twips) {
    const int pixels = twipsToPixels(twips, logicalDpiX());
    if (col == 0) {
        verticalHeader()->setFixedWidth(pixels);
    } else {
        horizontalHeader()->resizeSection(col - 1, pixels);
    }
}

void QtGridView::reapplyColWidths() {
    for (int col = 0; col < grid.cols(); ++col) {
        if (const std::optional<int> twips = grid.colWidth(col)) {
            applyColWidth(col, *twips);
        }
    }
}

void QtGridView::onClicked(const QModelIndex& index) {
    grid.setRow(index.row() + 1);
    grid.setCol(index.column() + 1);
    emit gridClicked();
}
