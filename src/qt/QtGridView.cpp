#include "qt/QtGridView.h"

#include "qt/QtTwips.h"

#include <QAccessible>
#include <QHash>
#include <QHeaderView>
#include <QPainter>
#include <QStaticText>
#include <QStyledItemDelegate>
#include <QTextLayout>

namespace {

// Draws a plain cell from a text layout kept per text. A grid holds few distinct texts ("0" to
// "255"), and laying the same ones out afresh for every cell was most of the cost of repainting a
// grid full of levels. A selected or current cell, or a text wider than its cell, is drawn as usual.
// The text sits where the toolkit puts it, in any font: at the left, and centred as the toolkit
// centres, each half rounded on its own, on the height of its line with the font's leading left out.
class CellDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const LaidOut* text = option.state & (QStyle::State_Selected | QStyle::State_HasFocus)
                                  ? nullptr
                                  : laidOut(index.data(Qt::DisplayRole).toString(), option.font);
        const QWidget* view = option.widget;
        const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
        const QRect area = option.rect.adjusted(margin, 0, -margin, 0);
        if (!text || text->drawn.size().width() > area.width()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        if (const QVariant background = index.data(Qt::BackgroundRole); background.isValid()) {
            painter->fillRect(option.rect, background.value<QColor>());
        }
        const QVariant foreground = index.data(Qt::ForegroundRole);
        painter->setPen(foreground.isValid() ? foreground.value<QColor>() : paletteText(option));
        painter->setFont(option.font);
        const QRect line =
            QStyle::alignedRect(option.direction, option.displayAlignment, text->lineSize, area);
        painter->drawStaticText(QPoint(area.left(), line.top()), text->drawn);
    }

private:
    static QColor paletteText(const QStyleOptionViewItem& option) {
        const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled)  ? QPalette::Disabled
                                           : !(option.state & QStyle::State_Active) ? QPalette::Inactive
                                                                                    : QPalette::Normal;
        return option.palette.color(group, QPalette::Text);
    }

    struct LaidOut {
        QStaticText drawn;
        // The size the toolkit centres: a static text's height counts the leading, the toolkit's not.
        QSize lineSize;
    };

    const LaidOut* laidOut(const QString& text, const QFont& font) const {
        if (font != layoutFont || layouts.size() > maxLayouts) {
            layouts.clear();
            layoutFont = font;
        }
        auto found = layouts.find(text);
        if (found == layouts.end()) {
            found = layouts.insert(text, {QStaticText(text), lineSize(text, font)});
            found->drawn.setTextFormat(Qt::PlainText);
            found->drawn.prepare(QTransform(), font);
        }
        return &*found;
    }

    static QSize lineSize(const QString& text, const QFont& font) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        return layout.boundingRect().size().toSize();
    }

    // Enough for every level and then some; texts typed into cells cannot make it grow for ever.
    static constexpr qsizetype maxLayouts = 1024;
    mutable QHash<QString, LaidOut> layouts;
    mutable QFont layoutFont;
};

} // namespace

QtGridView::QtGridView(QtGridModel& model, QWidget* parent)
    : QTableView(parent)
    , grid(model) {
    setObjectName(QStringLiteral("Grid1"));
    setModel(&grid);
    setItemDelegate(new CellDelegate(this));
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
    connect(&grid, &QtGridModel::currentSceneChanged, this, &QtGridView::announceCurrentScene);
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

void QtGridView::announceCurrentScene(int previous, int current) {
    if (!QAccessible::isActive()) {
        return;
    }
    for (const int scene : {previous, current}) {
        if (scene >= 1 && scene <= grid.columnCount()) {
            // The table's first children are the corner, then the column headers, scene 1 first.
            QAccessibleEvent renamed(this, QAccessible::NameChanged);
            renamed.setChild(scene);
            QAccessible::updateAccessibility(&renamed);
        }
    }
}
