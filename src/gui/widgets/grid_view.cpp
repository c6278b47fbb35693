#include "gui/widgets/grid_view.h"

#include <QAbstractItemDelegate>
#include <QHeaderView>
#include <QScrollBar>

namespace veltrix::gui {

GridView::GridView(QWidget* parent) : QTableView(parent) {
    // Any column resized, hidden or shown moves the frozen view's right edge.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { syncFrozenView(); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this](int row, int, int size) {
        if (frozenView_) frozenView_->setRowHeight(row, size);
    });
}

void GridView::setModel(QAbstractItemModel* model) {
    QTableView::setModel(model);
    if (!frozenView_) return;
    frozenView_->setModel(model);
    frozenView_->setSelectionModel(selectionModel());
    connectFrozenModel();
    syncFrozenView();
}

void GridView::setSelectionModel(QItemSelectionModel* selectionModel) {
    QTableView::setSelectionModel(selectionModel);
    if (frozenView_ && frozenView_->model() == model()) frozenView_->setSelectionModel(selectionModel);
}

void GridView::setFrozenColumns(int count) {
    count = std::max(count, 0);
    if (count == frozen_) return;
    frozen_ = count;
    if (frozen_ > 0) {
        if (!frozenView_) createFrozenView();
        setHorizontalScrollMode(ScrollPerPixel);
    }
    if (frozenView_) frozenView_->setVisible(frozen_ > 0);
    syncFrozenView();
}

void GridView::createFrozenView() {
    frozenView_ = new QTableView(this);
    frozenView_->setObjectName(objectName() + QStringLiteral("Frozen"));
    // Keys go to this view; the frozen one only shows and passes clicks on.
    frozenView_->setFocusPolicy(Qt::NoFocus);
    frozenView_->setFrameShape(QFrame::NoFrame);
    frozenView_->verticalHeader()->hide();
    frozenView_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozenView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozenView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->stackUnder(frozenView_);

    // One vertical position for both. While a layout is pending the two ranges
    // differ and the frozen view's clamped value must not move this view.
    QScrollBar* down = verticalScrollBar();
    QScrollBar* frozenDown = frozenView_->verticalScrollBar();
    connect(frozenDown, &QAbstractSlider::valueChanged, this, [down, frozenDown](int value) {
        if (frozenDown->maximum() == down->maximum()) down->setValue(value);
    });
    connect(down, &QAbstractSlider::valueChanged, frozenDown, &QAbstractSlider::setValue);
    connect(frozenDown, &QAbstractSlider::rangeChanged, this,
            [down, frozenDown] { frozenDown->setValue(down->value()); });
    connect(frozenView_, &QAbstractItemView::pressed, this, &QAbstractItemView::pressed);
    connect(frozenView_, &QAbstractItemView::clicked, this, &QAbstractItemView::clicked);
    connect(frozenView_, &QAbstractItemView::doubleClicked, this, &QAbstractItemView::doubleClicked);
    connect(frozenView_, &QAbstractItemView::activated, this, &QAbstractItemView::activated);
    connect(frozenView_, &QWidget::customContextMenuRequested, this, &QWidget::customContextMenuRequested);
    QHeaderView* header = horizontalHeader();
    connect(frozenView_->horizontalHeader(), &QHeaderView::sectionPressed, header,
            &QHeaderView::sectionPressed);
    connect(frozenView_->horizontalHeader(), &QHeaderView::sectionClicked, header,
            &QHeaderView::sectionClicked);
    connect(frozenView_->horizontalHeader(), &QHeaderView::sectionDoubleClicked, header,
            &QHeaderView::sectionDoubleClicked);

    if (allColumns_) frozenView_->setItemDelegate(allColumns_(frozenView_));
    for (const auto& [column, make] : columnDelegates_)
        frozenView_->setItemDelegateForColumn(column, make(frozenView_));
    if (model()) {
        frozenView_->setModel(model());
        frozenView_->setSelectionModel(selectionModel());
        connectFrozenModel();
    }
}

void GridView::connectFrozenModel() {
    // Connected after the frozen view's own reset handling, which may bring back
    // columns it had hidden.
    disconnect(resetConnection_);
    if (model())
        resetConnection_ = connect(model(), &QAbstractItemModel::modelReset, this, &GridView::syncFrozenView);
}

void GridView::setDelegate(int column, const DelegateFactory& make) {
    if (column < 0) {
        allColumns_ = make;
        setItemDelegate(make(this));
        if (frozenView_) frozenView_->setItemDelegate(make(frozenView_));
        return;
    }
    columnDelegates_[column] = make;
    setItemDelegateForColumn(column, make(this));
    if (frozenView_) frozenView_->setItemDelegateForColumn(column, make(frozenView_));
}

void GridView::syncFrozenView() {
    if (!frozenView_ || frozen_ == 0 || !frozenView_->model()) return;
    const int columns = frozenView_->model()->columnCount();
    for (int c = 0; c < columns; ++c) {
        const bool shown = c < frozen_ && !isColumnHidden(c);
        if (shown && frozenView_->columnWidth(c) != columnWidth(c))
            frozenView_->setColumnWidth(c, columnWidth(c));
        if (frozenView_->isColumnHidden(c) == shown) frozenView_->setColumnHidden(c, !shown);
    }
    frozenView_->verticalHeader()->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    frozenView_->verticalHeader()->setMinimumSectionSize(verticalHeader()->minimumSectionSize());
    frozenView_->setVerticalScrollMode(verticalScrollMode());
    frozenView_->setSelectionMode(selectionMode());
    frozenView_->setSelectionBehavior(selectionBehavior());
    frozenView_->setEditTriggers(editTriggers());
    frozenView_->setShowGrid(showGrid());
    frozenView_->setGridStyle(gridStyle());
    frozenView_->setWordWrap(wordWrap());
    frozenView_->setContextMenuPolicy(contextMenuPolicy());
    frozenView_->horizontalHeader()->setVisible(!horizontalHeader()->isHidden());
    frozenView_->horizontalHeader()->setSectionsClickable(horizontalHeader()->sectionsClickable());
    placeFrozenView();
}

int GridView::frozenWidth() const {
    int width = 0;
    const int columns = model() ? std::min(frozen_, model()->columnCount()) : 0;
    for (int c = 0; c < columns; ++c)
        if (!isColumnHidden(c)) width += columnWidth(c);
    return width;
}

void GridView::placeFrozenView() {
    if (!frozenView_ || frozen_ == 0) return;
    const QRect port = viewport()->geometry();
    const bool header = !horizontalHeader()->isHidden();
    const int top = header ? horizontalHeader()->geometry().top() : port.top();
    if (header) frozenView_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozenView_->setGeometry(port.left(), top, std::min(frozenWidth(), port.width()),
                             port.bottom() + 1 - top);
    frozenView_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void GridView::updateGeometries() {
    QTableView::updateGeometries();
    placeFrozenView();
}

void GridView::showEvent(QShowEvent* event) {
    QTableView::showEvent(event);
    syncFrozenView();
}

void GridView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!frozenView_ || frozen_ == 0 || !index.isValid()) {
        QTableView::scrollTo(index, hint);
        return;
    }
    QScrollBar* sideways = horizontalScrollBar();
    if (index.column() < frozen_) {
        const int keep = sideways->value();
        QTableView::scrollTo(index, hint);
        sideways->setValue(keep);
        return;
    }
    QTableView::scrollTo(index, hint);
    const int hiddenPart = frozenWidth() - visualRect(index).left();
    if (hiddenPart > 0) sideways->setValue(sideways->value() - hiddenPart);
}

QModelIndex GridView::indexAt(const QPoint& pos) const {
    // Both viewports start at the same point, so one position serves both.
    if (frozenView_ && frozen_ > 0 && pos.x() >= 0 && pos.x() < frozenView_->width())
        return frozenView_->indexAt(pos);
    return QTableView::indexAt(pos);
}

GridView* MakeGridView(QWidget* parent, const QString& name, const GridViewOptions& options) {
    auto* view = new GridView(parent);
    view->setObjectName(name);
    view->setAlternatingRowColors(false);
    view->verticalHeader()->setDefaultSectionSize(20);
    view->setFrozenColumns(options.frozenColumns);
    return view;
}

void InstallDelegate(QTableView* view, int column, const DelegateFactory& make) {
    if (auto* grid = qobject_cast<GridView*>(view)) {
        grid->setDelegate(column, make);
        return;
    }
    if (column < 0)
        view->setItemDelegate(make(view));
    else
        view->setItemDelegateForColumn(column, make(view));
}

}  // namespace veltrix::gui
