#include "ui/sheet_model.h"

#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QPainter>
#include <QTableView>

namespace veltrix {
namespace {

QVariant toColor(const CellColor& c) {
    if (!c) return {};
    return QColor(c->r, c->g, c->b);
}

}  // namespace

SheetModel::SheetModel(Sheet& sheet, QObject* parent) : QAbstractTableModel(parent), sheet_(sheet) {
    sheet_.setObserver(this);
}

SheetModel::~SheetModel() { sheet_.setObserver(nullptr); }

int SheetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : sheet_.rowCount(); }

int SheetModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : sheet_.colCount();
}

QVariant SheetModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) return {};
    const Cell& c = sheet_.cell(RowNo(index.row() + 1), ColNo(index.column() + 1));
    switch (role) {
        case Qt::DisplayRole:
            return QString::fromStdString(c.text);
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

void SheetModel::sheetAboutToChange() {
    if (resetting_) return;
    resetting_ = true;
    beginResetModel();
}

void SheetModel::sheetChanged() {
    if (!resetting_) return;
    resetting_ = false;
    endResetModel();
}

void SheetDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyledItemDelegate::paint(painter, option, index);
    if (!index.data(SheetModel::TopBorderRole).toBool()) return;
    painter->save();
    QVariant fore = index.data(Qt::ForegroundRole);
    painter->setPen(fore.isValid() ? fore.value<QColor>() : option.palette.color(QPalette::Text));
    painter->drawLine(option.rect.topLeft(), option.rect.topRight());
    painter->restore();
}

void SetUpSheetView(QTableView* view, SheetModel* model) {
    view->setModel(model);
    view->setItemDelegate(new SheetDelegate(view));
    auto applyHidden = [view, model] {
        const Sheet& s = model->sheet();
        for (int c = 1; c <= s.colCount(); ++c) view->setColumnHidden(c - 1, s.isColumnHidden(ColNo(c)));
    };
    applyHidden();
    QObject::connect(model, &QAbstractItemModel::modelReset, view, applyHidden);
}

}  // namespace veltrix
