#pragma once
// The heat map window "ヒートマップ": the bet type options, the pivot list and the
// 18 x 18 grid fpsHeatmap over the core's heat map.
#include <QWidget>
#include <array>

#include "app/application.h"

class QComboBox;
class QRadioButton;
class QTableView;

namespace veltrix::gui {
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class frmHeatmap final : public QWidget {
    Q_OBJECT
public:
    frmHeatmap(Application& app, QWidget* mainWindow);
    ~frmHeatmap() override;

    QTableView* fpsHeatmap() const { return fpsHeatmap_; }
    SheetModel* sheetModel() const { return sheetModel_; }
    QRadioButton* optShikibetsu(int i) const { return optShikibetsu_[static_cast<size_t>(i)]; }
    QComboBox* cboJiku() const { return cboJiku_; }

public slots:
    // mnuHeatmap: draws the map of the race on show and shows the window below
    // the race card's top-left corner (anchor, global coordinates).
    void mnuHeatmap_Click(const QPoint& anchor);

private:
    void buildControls();
    // Shows the core's options without drawing again.
    void showOptions();
    void SetHeatMap();

    Application& app_;
    Subscription subscription_;
    bool showing_ = false;  // the program itself is setting the options

    std::array<QRadioButton*, 4> optShikibetsu_{};
    QComboBox* cboJiku_ = nullptr;
    QTableView* fpsHeatmap_ = nullptr;
    SheetModel* sheetModel_ = nullptr;
};

}  // namespace veltrix::gui
