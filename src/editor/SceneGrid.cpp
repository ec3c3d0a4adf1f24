#include "device/Commands.h"
#include "editor/GridForm.h"
#include "platform/NumberText.h"

namespace {
constexpr int columnWidthTwips = 500;
}

void GridForm::layoutGrid() {
    Grid1.setRows(nrows + 1);
    Grid1.setCols(ncols + 1);
    Grid1.setCol(0);
    for (int c = 1; c <= nrows; ++c) {
        Grid1.setRow(c);
        Grid1.setText(decimal(c));
    }
    Grid1.setRow(0);
    Grid1.setColWidth(0, columnWidthTwips);
    for (int s = 1; s <= ncols; ++s) {
        Grid1.setCol(s);
        Grid1.setText(decimal(s));
        Grid1.setColWidth(s, columnWidthTwips);
    }
}

void GridForm::paintColumn(std::int16_t s, Colour colour) {
    Grid1.setCol(s);
    for (int c = 1; c <= nrows; ++c) {
        Grid1.setRow(c);
        Grid1.setCellBackColor(colour);
    }
}

void GridForm::scene(std::int16_t n) {
    if (nscene != 0) {
        paintColumn(nscene, colours::white);
    }
    paintColumn(n, colours::cyan);
    nscene = n;
    view.setSceneNumberText(decimal(nscene));

    LineBuffer buffer{};
    DMX.sendbytes(buffer, command::putSelectScene(buffer, n));
    // Whatever the controller said meanwhile is stale; it must not reach a later read.
    DMX.dropReceived();
}
