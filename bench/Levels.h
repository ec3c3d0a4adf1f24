#pragma once

#include "editor/GridForm.h"

// Lays the grid out for the given size and fills every data cell with a level, varied from cell to
// cell as a real show's would be.
inline void fillLevels(GridForm& form, std::int16_t nrows, std::int16_t ncols) {
    form.nrows = nrows;
    form.ncols = ncols;
    form.layoutGrid();
    for (int r = 1; r <= nrows; ++r) {
        form.Grid1.setRow(r);
        for (int s = 1; s <= ncols; ++s) {
            form.Grid1.setCol(s);
            form.Grid1.setText(QString::number((r * 7 + s * 13) % 256));
        }
    }
}
