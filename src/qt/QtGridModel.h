#pragma once

#include "platform/GridControl.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

// The scene grid's cells, shown by a table view. Row 0 and column 0 of the grid are the view's
// header row and header column, so model index (r, c) is grid cell (r + 1, c + 1).
// Writes only store; the view hears of them in one coalesced notification when the event loop
// next runs, which keeps a write of every cell of a 513 x 61 grid cheap.
class QtGridModel : public QAbstractTableModel, public GridControl {
    Q_OBJECT
public:
    explicit QtGridModel(QObject* parent = nullptr);

    int rows() const override { return gridRows; }
    void setRows(int rows) override;
    int cols() const override { return gridCols; }
    void setCols(int cols) override;
    int row() const override { return currentRow; }
    void setRow(int row) override { currentRow = row; }
    int col() const override { return currentCol; }
    void setCol(int col) override { currentCol = col; }
    QString text() const override { return cellText(currentRow, currentCol); }
    void setText(const QString& text) override;
    void setCellBackColor(Colour colour) override;
    void setColWidth(int col, int twips) override;
    void setPlacement(const TwipRect& placement) override;

    // The scene whose column is current, 0 for none: its header's name says so to a screen reader.
    void setCurrentScene(int scene);

    QString cellText(int row, int col) const;
    // Nothing for a cell whose background was never set.
    std::optional<Colour> cellBackColor(int row, int col) const;
    // Nothing for a column whose width was never set.
    std::optional<int> colWidth(int col) const;
    TwipRect placement() const { return gridPlacement; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

signals:
    void placementChanged(const TwipRect& placement);
    void colWidthChanged(int col, int twips);
    // The current scene moved from one column to another; 0 stands for none.
    void currentSceneChanged(int previous, int current);

private:
    struct Cell {
        QString text;
        std::optional<Colour> background;
    };

    Cell* currentCell();
    const Cell* cellAt(int row, int col) const;
    void resize(int rows, int cols);
    void noteChanged(int row, int col);
    void publishChanges();

    int gridRows = 2;
    int gridCols = 2;
    int currentRow = 0;
    int currentCol = 0;
    int currentScene = 0;
    std::vector<Cell> cells; // row-major, gridCols per row
    std::vector<std::optional<int>> widths;
    TwipRect gridPlacement;

    // The part of the grid changed since the view last heard of it.
    bool publishPending = false;
    int dirtyTop = 0, dirtyLeft = 0, dirtyBottom = -1, dirtyRight = -1;
    bool headersDirty = false;
};
