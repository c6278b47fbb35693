#include "gui/widgets/cell_control_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QTableView>

#include "gui/widgets/grid_view.h"

namespace veltrix::gui {
namespace {

// Room between a button and the cell's edges, and before a check box.
constexpr int kButtonInset = 1;
constexpr int kCheckIndent = 4;

QStyle* styleOf(const QStyleOptionViewItem& option) {
    return option.widget ? option.widget->style() : QApplication::style();
}

}  // namespace

CellControlDelegate::CellControlDelegate(CellControl control, QString caption, QObject* parent)
    : QStyledItemDelegate(parent), control_(control), caption_(std::move(caption)) {}

void CellControlDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    QStyle* style = styleOf(option);
    // The cell's background and selection without its text: the control shows it.
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &cell, painter, option.widget);

    QStyleOptionButton button;
    button.direction = option.direction;
    button.fontMetrics = option.fontMetrics;
    button.palette = option.palette;
    button.state = option.state & QStyle::State_Enabled;
    const QString text = index.data(Qt::DisplayRole).toString();
    if (control_ == CellControl::PushButton) {
        button.rect = option.rect.adjusted(kButtonInset, kButtonInset, -kButtonInset, -kButtonInset);
        button.text = text;
        button.state |= QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
        return;
    }
    button.rect = option.rect.adjusted(kCheckIndent, 0, 0, 0);
    button.text = caption_;
    button.state |= text == QStringLiteral("1") ? QStyle::State_On : QStyle::State_Off;
    style->drawControl(QStyle::CE_CheckBox, &button, painter, option.widget);
}

QSize CellControlDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const QSize plain = QStyledItemDelegate::sizeHint(option, index);
    if (control_ == CellControl::PushButton) {
        // As wide as the caption with the button's own margins, not a dialog button's minimum.
        const int margin = styleOf(option)->pixelMetric(QStyle::PM_ButtonMargin, nullptr, option.widget);
        const int width = option.fontMetrics.horizontalAdvance(index.data(Qt::DisplayRole).toString());
        return {std::max(plain.width(), width + 2 * (margin + kButtonInset) + 4), plain.height()};
    }
    QStyleOptionButton box;
    box.fontMetrics = option.fontMetrics;
    box.text = caption_;
    const QSize text(option.fontMetrics.horizontalAdvance(caption_), option.fontMetrics.height());
    const QSize control = styleOf(option)->sizeFromContents(QStyle::CT_CheckBox, &box, text, option.widget);
    return {control.width() + kCheckIndent + 4, std::max(plain.height(), control.height())};
}

void ShowColumnAsButtons(QTableView* view, ColNo col) {
    InstallDelegate(view, col.value - 1, [](QObject* parent) {
        return new CellControlDelegate(CellControl::PushButton, QString(), parent);
    });
}

void ShowColumnAsCheckBoxes(QTableView* view, ColNo col, const QString& caption) {
    InstallDelegate(view, col.value - 1, [caption](QObject* parent) {
        return new CellControlDelegate(CellControl::CheckBox, caption, parent);
    });
}

}  // namespace veltrix::gui
