#include "qt/QtGridModel.h"

#include "qt/QtColours.h"

#include <QMetaObject>

#include <algorithm>
#include <utility>

QtGridModel::QtGridModel(QObject* parent)
    : QAbstractTableModel(parent)
    , cells(static_cast<std::size_t>(gridRows * gridCols))
    , widths(static_cast<std::size_t>(gridCols)) {}

void QtGridModel::setRows(int rows) {
    resize(std::max(rows, 1), gridCols);
}

void QtGridModel::setCols(int cols) {
    resize(gridRows, std::max(cols, 1));
}

void QtGridModel::resize(int rows, int cols) {
    if (rows == gridRows && cols == gridCols) {
        return;
    }
    beginResetModel();
    std::vector<Cell> resized(static_cast<std::size_t>(rows * cols));
    for (int r = 0; r < std::min(rows, gridRows); ++r) {
        for (int c = 0; c < std::min(cols, gridCols); ++c) {
            resized[static_cast<std::size_t>(r * cols + c)] =
                std::move(cells[static_cast<std::size_t>(r * gridCols + c)]);
        }
    }
    cells = std::move(resized);
    widths.resize(static_cast<std::size_t>(cols));
    gridRows = rows;
    gridCols = cols;
    endResetModel();
}

QtGridModel::Cell* QtGridModel::currentCell() {
    // A current cell outside the grid is a caller's mistake; it must not write past the cells.
    const bool inside = currentRow >= 0 && currentRow < gridRows && currentCol >= 0 && currentCol < gridCols;
    return inside ? &cells[static_cast<std::size_t>(currentRow * gridCols + currentCol)] : nullptr;
}

const QtGridModel::Cell* QtGridModel::cellAt(int row, int col) const {
    if (row < 0 || row >= gridRows || col < 0 || col >= gridCols) {
        return nullptr;
    }
    return &cells[static_cast<std::size_t>(row * gridCols + col)];
}

void QtGridModel::setText(const QString& text) {
    if (Cell* cell = currentCell()) {
        cell->text = text;
        noteChanged(currentRow, currentCol);
    }
}

void QtGridModel::setCellBackColor(Colour colour) {
    if (Cell* cell = currentCell()) {
        cell->background = colour;
        noteChanged(currentRow, currentCol);
    }
}

void QtGridModel::setColWidth(int col, int twips) {
    if (col < 0 || col >= gridCols) {
        return;
    }
    widths[static_cast<std::size_t>(col)] = twips;
    emit colWidthChanged(col, twips);
}

void QtGridModel::setPlacement(const TwipRect& placement) {
    gridPlacement = placement;
    emit placementChanged(placement);
}

void QtGridModel::setCurrentScene(int scene) {
    if (scene == currentScene) {
        return;
    }
    const int previous = std::exchange(currentScene, scene);
    noteChanged(0, scene);
    emit currentSceneChanged(previous, scene);
}

QString QtGridModel::cellText(int row, int col) const {
    const Cell* cell = cellAt(row, col);
    return cell ? cell->text : QString();
}

std::optional<Colour> QtGridModel::cellBackColor(int row, int col) const {
    const Cell* cell = cellAt(row, col);
    return cell ? cell->background : std::nullopt;
}

std::optional<int> QtGridModel::colWidth(int col) const {
    return col >= 0 && col < gridCols ? widths[static_cast<std::size_t>(col)] : std::nullopt;
}

int QtGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : gridRows - 1;
}

int QtGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : gridCols - 1;
}

QVariant QtGridModel::data(const QModelIndex& index, int role) const {
    const Cell* cell = cellAt(index.row() + 1, index.column() + 1);
    if (!index.isValid() || !cell) {
        return {};
    }
    if (role == Qt::DisplayRole) {
        return cell->text;
    }
    if (role == Qt::BackgroundRole && cell->background) {
        return toQColor(*cell->background);
    }
    // A background the program set gets its text colour with it; other cells follow the desktop.
    if (role == Qt::ForegroundRole && cell->background) {
        return textColourOn(*cell->background);
    }
    return {};
}

QVariant QtGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    // The current scene shows by its column's colour; a screen reader announces a header's name.
    if (role == Qt::AccessibleTextRole && orientation == Qt::Horizontal && section + 1 == currentScene) {
        return QStringLiteral("Scene %1, current").arg(currentScene);
    }
    if (role != Qt::DisplayRole) {
        return {};
    }
    return orientation == Qt::Horizontal ? cellText(0, section + 1) : cellText(section + 1, 0);
}

void QtGridModel::noteChanged(int row, int col) {
    if (row == 0 || col == 0) {
        headersDirty = true;
    } else if (dirtyBottom < 0) {
        dirtyTop = dirtyBottom = row;
        dirtyLeft = dirtyRight = col;
    } else {
        dirtyTop = std::min(dirtyTop, row);
        dirtyBottom = std::max(dirtyBottom, row);
        dirtyLeft = std::min(dirtyLeft, col);
        dirtyRight = std::max(dirtyRight, col);
    }
    if (!publishPending) {
        publishPending = true;
        QMetaObject::invokeMethod(this, &QtGridModel::publishChanges, Qt::QueuedConnection);
    }
}

void QtGridModel::publishChanges() {
    publishPending = false;
    if (headersDirty) {
        headersDirty = false;
        if (gridCols > 1) {
            emit headerDataChanged(Qt::Horizontal, 0, gridCols - 2);
        }
        if (gridRows > 1) {
            emit headerDataChanged(Qt::Vertical, 0, gridRows - 2);
        }
    }
    if (dirtyBottom >= 0) {
        const int bottom = std::min(dirtyBottom, gridRows - 1);
        const int right = std::min(dirtyRight, gridCols - 1);
        if (bottom >= dirtyTop && right >= dirtyLeft) {
            emit dataChanged(index(dirtyTop - 1, dirtyLeft - 1), index(bottom - 1, right - 1));
        }
        dirtyBottom = dirtyRight = -1;
    }
}
