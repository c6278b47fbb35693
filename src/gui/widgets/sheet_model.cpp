#include "gui/widgets/sheet_model.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

#include "base/format.h"
#include "gui/widgets/grid_view.h"

namespace veltrix::gui {
namespace {

QVariant toColor(const CellColor& c) {
    if (!c) return {};
    return QColor(c->r, c->g, c->b);
}

Qt::Alignment toQtAlignment(CellAlign align) {
    switch (align) {
        case CellAlign::Center:
            return Qt::AlignHCenter | Qt::AlignVCenter;
        case CellAlign::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        default:
            return Qt::AlignLeft | Qt::AlignVCenter;
    }
}

}  // namespace

SheetModel::SheetModel(Sheet& sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(sheet) {
    sheet_.addObserver(this);
}

SheetModel::~SheetModel() { sheet_.removeObserver(this); }

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : sheet_.rowCount(); }

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : sheet_.colCount();
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const Cell& c = sheet_.cell(RowNo(index.row() + 1), ColNo(index.column() + 1));
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(ScreenText(c.text));
        case SortRole:
            if (c.number) return *c.number;
            return QString::fromStdString(c.text);
        case Qt::ForegroundRole:
            return toColor(c.fore);
        case Qt::BackgroundRole:
            return toColor(c.back);
        case Qt::FontRole:
            if (c.strikeOut) {
                QFont f;
                f.setStrikeOut(true);
                return f;
            }
            return {};
        case TopBorderRole:
            return c.topBorder;
        case TopBorderColorRole:
            return c.topBorder ? toColor(c.borderColor) : QVariant();
        case Qt::TextAlignmentRole:
            // An int: what the item delegates and the model tester read.
            return static_cast<int>(
                toQtAlignment(sheet_.alignment(RowNo(index.row() + 1), ColNo(index.column() + 1))));
        default:
            return {};
    }
}

QVariant SheetModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) {
        if (section < 0 || section >= sheet_.rowCount()) return {};
        return section + 1;
    }
    if (section < 0 || section >= sheet_.colCount()) return {};
    return QString::fromStdString(sheet_.header(ColNo(section + 1)));
}

void SheetModel::refresh() {
    beginResetModel();
    endResetModel();
}

void SheetModel::sheetStructureAboutToChange() {
    if (resetting_) return;
    resetting_ = true;
    beginResetModel();
}

void SheetModel::sheetChanged(const SheetChange& change) {
    if (change.structure) {
        // An observer attached in mid-batch missed the start of the reset.
        if (!resetting_) beginResetModel();
        resetting_ = false;
        endResetModel();
        return;
    }
    if (change.headers)
        emit headerDataChanged(Qt::Horizontal, change.firstHeader.value - 1, change.lastHeader.value - 1);
    if (change.cells)
        emit dataChanged(index(change.top.value - 1, change.left.value - 1),
                         index(change.bottom.value - 1, change.right.value - 1));
}

void SheetDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!index.data(SheetModel::TopBorderRole).toBool()) return;
    painter->save();
    QVariant color = index.data(SheetModel::TopBorderColorRole);
    if (!color.isValid()) color = index.data(Qt::ForegroundRole);
    painter->setPen(color.isValid() ? color.value<QColor>() : option.palette.color(QPalette::Text));
    painter->drawLine(option.rect.topLeft(), option.rect.topRight());
    painter->restore();
}

void SetUpSheetView(QTableView* view, SheetModel* model) {
    view->setModel(model);
    InstallDelegate(view, -1, [](QObject* parent) { return new SheetDelegate(parent); });
    auto applyHidden = [view, model] {
        const Sheet& s = model->sheet();
        for (int c = 1; c <= s.colCount(); ++c) view->setColumnHidden(c - 1, s.isColumnHidden(ColNo(c)));
        if (auto* grid = qobject_cast<GridView*>(view)) grid->syncFrozenView();
    };
    applyHidden();
    QObject::connect(model, &QAbstractItemModel::modelReset, view, applyHidden);
}

}  // namespace veltrix::gui
