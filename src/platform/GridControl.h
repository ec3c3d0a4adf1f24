#pragma once

#include "platform/Colour.h"
#include "platform/Twips.h"

#include <QString>

// The table of cells the scene grid lives in. Every cell is reached through the current cell:
// choose Row and Col, then read or write its text or set its background.
class GridControl {
public:
    virtual ~GridControl() = default;

    virtual int rows() const = 0;
    // Rows that remain keep their cells; added rows are empty.
    virtual void setRows(int rows) = 0;
    virtual int cols() const = 0;
    virtual void setCols(int cols) = 0;

    virtual int row() const = 0;
    virtual void setRow(int row) = 0;
    virtual int col() const = 0;
    virtual void setCol(int col) = 0;

    virtual QString text() const = 0;
    virtual void setText(const QString& text) = 0;
    virtual void setCellBackColor(Colour colour) = 0;

    virtual void setColWidth(int col, int twips) = 0;
    virtual void setPlacement(const TwipRect& placement) = 0;
};
