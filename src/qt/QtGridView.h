#pragma once

#include "qt/QtGridModel.h"

#include <QTableView>

// The scene grid on screen. The model's header row and column are the view's headers, both of
// fixed section sizes; place and column widths come from the model. A click on a data cell makes
// it the model's current cell before the click is reported. A change of the current scene is told
// to a screen reader.
class QtGridView final : public QTableView {
    Q_OBJECT
public:
    QtGridView(QtGridModel& model, QWidget* parent);

signals:
    // A data cell was clicked and is the model's current cell now.
    void gridClicked();

private:
    void place(const TwipRect& placement);
    void applyColWidth(int col, int twips);
    // A new layout of the model brings default widths; the ones set before still hold.
    void reapplyColWidths();
    void onClicked(const QModelIndex& index);
    // Tells a screen reader that the two scenes' headers have new names.
    void announceCurrentScene(int previous, int current);

    QtGridModel& grid;
};
