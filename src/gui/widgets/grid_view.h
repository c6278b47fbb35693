#pragma once
// The view every grid of the windows uses: the system's look, optional frozen
// leading columns, and delegates that follow the view onto its frozen columns.
#include <QString>
#include <QTableView>
#include <functional>
#include <map>

class QAbstractItemDelegate;

namespace veltrix::gui {

struct GridViewOptions {
    // Leading columns that stay in place while the grid scrolls sideways.
    int frozenColumns = 0;
};

// Makes one delegate for one view. Views never share a delegate: a shared one
// would close the other view's editors.
using DelegateFactory = std::function<QAbstractItemDelegate*(QObject* parent)>;

// A table view whose first frozenColumns() columns are drawn by a second view
// laid over its left edge. The second view shares the model and the selection,
// scrolls vertically with this one and passes its clicks, header clicks and
// context-menu requests on as this view's, so a window connects to this view only.
class GridView : public QTableView {
    Q_OBJECT
public:
    explicit GridView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    void setSelectionModel(QItemSelectionModel* selectionModel) override;

    // 0 unfreezes. Sideways scrolling becomes per pixel while columns are frozen.
    void setFrozenColumns(int count);
    int frozenColumns() const { return frozen_; }
    // The view over the frozen columns; null until columns are first frozen.
    QTableView* frozenView() const { return frozenView_; }

    // Installs a delegate made by make for every column (column -1) or for one
    // column (0-based), here and on the frozen columns.
    void setDelegate(int column, const DelegateFactory& make);

    // Brings the frozen columns in step with this view: hidden columns, widths,
    // row heights, selection and edit settings, place.
    void syncFrozenView();

    // Keeps a cell right of the frozen columns clear of them; a frozen cell
    // scrolls only vertically.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Over the frozen columns, the frozen cell there (a context-menu position,
    // which the frozen view passes on in the same viewport coordinates).
    QModelIndex indexAt(const QPoint& pos) const override;

protected:
    void updateGeometries() override;
    void showEvent(QShowEvent* event) override;

private:
    void createFrozenView();
    void connectFrozenModel();
    void placeFrozenView();
    // Width of the visible frozen columns.
    int frozenWidth() const;

    int frozen_ = 0;
    QTableView* frozenView_ = nullptr;
    QMetaObject::Connection resetConnection_;
    DelegateFactory allColumns_;
    std::map<int, DelegateFactory> columnDelegates_;
};

// A grid as the system's grids look: no alternating rows, 20-pixel rows.
GridView* MakeGridView(QWidget* parent, const QString& name, const GridViewOptions& options = {});

// A delegate made by make for every column (-1) or one column (0-based) of any
// table view; on a GridView its frozen columns get their own.
void InstallDelegate(QTableView* view, int column, const DelegateFactory& make);

}  // namespace veltrix::gui
