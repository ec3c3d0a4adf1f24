#include "qt/QtGridModel.h"

#include <QSignalSpy>
#include <QTest>

namespace {
void write(QtGridModel& grid, int row, int col, const QString& text) {
    grid.setRow(row);
    grid.setCol(col);
    grid.setText(text);
}
} // namespace

class QtGridModelTest : public QObject {
    Q_OBJECT

private slots:
    void resizingKeepsRemainingCellsAndAddsEmptyOnes() {
        QtGridModel grid;
        grid.setRows(4);
        grid.setCols(4);
        write(grid, 2, 3, QStringLiteral("77"));
        grid.setCellBackColor(colours::cyan);
        write(grid, 3, 3, QStringLiteral("gone"));
        grid.setRows(3);
        grid.setCols(6);
        QCOMPARE(grid.cellText(2, 3), QStringLiteral("77"));
        QCOMPARE(grid.cellBackColor(2, 3), std::optional<Colour>(colours::cyan));
        grid.setRows(4);
        QCOMPARE(grid.cellText(3, 3), QString());
        QCOMPARE(grid.cellText(2, 5), QString());
        QCOMPARE(grid.cellBackColor(2, 5), std::nullopt);
    }

    void showsRowZeroAndColumnZeroAsHeaders() {
        QtGridModel grid;
        grid.setRows(3);
        grid.setCols(3);
        write(grid, 0, 2, QStringLiteral("2"));
        write(grid, 1, 0, QStringLiteral("1"));
        write(grid, 1, 2, QStringLiteral("255"));
        QCOMPARE(grid.rowCount(), 2);
        QCOMPARE(grid.columnCount(), 2);
        QCOMPARE(grid.headerData(1, Qt::Horizontal).toString(), QStringLiteral("2"));
        QCOMPARE(grid.headerData(0, Qt::Vertical).toString(), QStringLiteral("1"));
        QCOMPARE(grid.data(grid.index(0, 1)).toString(), QStringLiteral("255"));
    }

    void ignoresWritesOutsideTheGrid() {
        QtGridModel grid;
        grid.setRows(2);
        grid.setCols(2);
        write(grid, 2, 1, QStringLiteral("x"));
        grid.setCellBackColor(colours::white);
        write(grid, 1, -1, QStringLiteral("x"));
        grid.setColWidth(5, 500);
        QCOMPARE(grid.cellText(1, 1), QString());
        QCOMPARE(grid.cellBackColor(1, 1), std::nullopt);
        QCOMPARE(grid.colWidth(5), std::nullopt);
    }

    void tellsTheViewOnceForManyWrites() {
        QtGridModel grid;
        grid.setRows(513);
        grid.setCols(61);
        QSignalSpy changed(&grid, &QAbstractItemModel::dataChanged);
        for (int r = 1; r <= 512; ++r) {
            write(grid, r, 7, QStringLiteral("0"));
        }
        QCOMPARE(changed.count(), 0);
        QTRY_COMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QModelIndex>(), grid.index(0, 6));
        QCOMPARE(changed.at(0).at(1).value<QModelIndex>(), grid.index(511, 6));
    }
};

QTEST_GUILESS_MAIN(QtGridModelTest)
#include "qtgridmodel_test.moc"
