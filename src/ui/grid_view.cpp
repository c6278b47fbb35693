#include "ui/grid_view.h"

#include <QHeaderView>
#include <QTableView>

namespace veltrix {

QTableView* MakeGridView(QWidget* parent, const QString& name) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setAlternatingRowColors(false);
    view->verticalHeader()->setDefaultSectionSize(20);
    return view;
}

}  // namespace veltrix
