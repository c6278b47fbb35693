#pragma once
// The view set-up shared by every grid of the windows.
#include <QString>

class QTableView;
class QWidget;

namespace veltrix {

// A table view as the system's grids look: no alternating rows, 20-pixel rows.
QTableView* MakeGridView(QWidget* parent, const QString& name);

}  // namespace veltrix
