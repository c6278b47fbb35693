#pragma once
// The selection palette "選択パレット": a tool window beside the race card that
// shows the palette state of the core, forwards box, rule and period clicks to
// it, and runs the calculation from its button.
#include <QWidget>
#include <array>
#include <vector>

#include "app/application.h"
#include "gui/widgets/qt_host.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace veltrix::gui {

class frmSelect final : public QWidget {
    Q_OBJECT
public:
    explicit frmSelect(Application& app, QWidget* raceCard = nullptr);

    QPushButton* cmdCalculate() const { return cmdCalculate_; }
    QComboBox* cboKikan() const { return cboKikan_; }
    // The warning of a calculation that found no run goes to ui (tests script
    // the user); nullptr restores the message box.
    void setUserInterface(UserInterface* ui) { messages_ = ui ? ui : &dialogs_; }

public slots:
    // Redraws every control from the core's palette state.
    void showPalette();
    // The calculate button.
    void calculate();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool event(QEvent* event) override;

private:
    // A check box that forwards its clicks to the palette box of its caption.
    QCheckBox* addBox(const QString& objectName, const QString& caption);
    void paintBox(QCheckBox* box, bool green);

    Application& app_;
    Subscription subscription_;
    QtUserInterface dialogs_{this};
    UserInterface* messages_ = &dialogs_;
    QWidget* raceCard_ = nullptr;
    bool placed_ = false;
    std::array<QCheckBox*, kCourseBoxes> chkJo_{};
    std::array<QCheckBox*, kBabaBoxes> chkBaba_{};
    std::array<QCheckBox*, kSibaBoxes> chkSKyori_{};
    std::array<QCheckBox*, kDirtBoxes> chkDKyori_{};
    std::array<QCheckBox*, kJokenBoxes> chkJoken_{};
    std::array<QRadioButton*, kRuleOptions> optRule1_{};
    QButtonGroup* rules_ = nullptr;
    QComboBox* cboKikan_ = nullptr;
    QPushButton* cmdCalculate_ = nullptr;
};

// The green of the shown race's course and distance boxes.
inline constexpr QRgb kPaletteGreen = 0xff00ff00;

}  // namespace veltrix::gui
