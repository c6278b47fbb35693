#pragma once
// Grid columns drawn as controls: push buttons or check boxes in the cells.
#include <QString>
#include <QStyledItemDelegate>

#include "base/sheet.h"

class QTableView;

namespace veltrix::gui {

enum class CellControl {
    PushButton,  // captioned with the cell's text
    CheckBox,    // checked when the cell reads "1"; one caption for the column
};

// Draws each cell of its column as a control over the cell's background and
// selection. It only draws: a click on the control is the view's clicked
// signal, and the window decides what it does.
class CellControlDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    CellControlDelegate(CellControl control, QString caption, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CellControl control_;
    QString caption_;
};

// The column of view shows push buttons captioned with the cell texts.
void ShowColumnAsButtons(QTableView* view, ColNo col);
// The column of view shows check boxes captioned caption, checked where the cell reads "1".
void ShowColumnAsCheckBoxes(QTableView* view, ColNo col, const QString& caption);

}  // namespace veltrix::gui
