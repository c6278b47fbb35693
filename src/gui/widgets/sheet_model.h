#pragma once
// The one table adapter over a core Sheet, its top-border delegate and the view
// set-up shared by every grid.
#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include "base/sheet.h"

class QTableView;

namespace veltrix::gui {

// Observes its sheet, which must outlive it. A batch of cell changes becomes one
// dataChanged over its range and a batch of header changes one headerDataChanged,
// so views keep their selection, current cell and scroll position; a structural
// batch (rows, columns, order, hidden columns) becomes one model reset.
class SheetModel final : public QAbstractTableModel, private SheetObserver {
    Q_OBJECT
public:
    enum Role {
        // The cell's number, or its text when it holds none: the sort key.
        SortRole = Qt::UserRole + 1,
        // bool: a line is drawn along the top edge of the cell.
        TopBorderRole,
        // QColor of that line when the sheet gives one (else the text colour is used).
        TopBorderColorRole,
    };

    explicit SheetModel(Sheet& sheet, QObject* parent = nullptr);
    ~SheetModel() override;

    int rowCount(const QModelIndex& parent = {}) const final;
    int columnCount(const QModelIndex& parent = {}) const final;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const final;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const final;

    const Sheet& sheet() const { return sheet_; }
    // Re-reads the whole sheet (for changes made while no model was attached).
    void refresh();

private:
    void sheetStructureAboutToChange() override;
    void sheetChanged(const SheetChange& change) override;

    Sheet& sheet_;
    bool resetting_ = false;
};

// Paints the cell as usual, then its top border when the cell asks for one.
class SheetDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// Puts the model and the delegate on the view (and on its frozen columns when
// it is a GridView), and keeps the view's hidden columns in step with the
// sheet's after every change.
void SetUpSheetView(QTableView* view, SheetModel* model);

}  // namespace veltrix::gui
