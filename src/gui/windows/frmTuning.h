#pragma once
// The tuning window "チューニング": the weights, the distance weights, the
// period and the auto tuning box. Shown modally over the race card; its
// buttons forward the fields to the core.
#include <QDialog>
#include <array>

#include "app/application.h"
#include "engine/tuning.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace veltrix::gui {

class frmTuning final : public QDialog {
    Q_OBJECT
public:
    explicit frmTuning(Application& app, QWidget* raceCard = nullptr);

    // The fields as they stand.
    TuningFields fields() const;
    void setFields(const TuningFields& fields);

    QLineEdit* weightField(int i) const { return msked_[static_cast<size_t>(i)]; }
    QLineEdit* kyoriField(int i) const { return mskedKyori_[static_cast<size_t>(i)]; }
    QComboBox* cboKikan() const { return cboKikan_; }
    QCheckBox* chkAutoTuning() const { return chkAutoTuning_; }
    QPushButton* cmdInit() const { return cmdInit_; }
    QPushButton* cmdSet() const { return cmdSet_; }
    QPushButton* cmdSave() const { return cmdSave_; }

private:
    void load();
    void apply();
    void save();

    Application& app_;
    std::array<QLineEdit*, kTuneWeights> msked_{};
    std::array<QLineEdit*, kTuneKyori> mskedKyori_{};
    QComboBox* cboKikan_ = nullptr;
    QCheckBox* chkAutoTuning_ = nullptr;
    QPushButton* cmdInit_ = nullptr;
    QPushButton* cmdSet_ = nullptr;
    QPushButton* cmdSave_ = nullptr;
};

// Hides the secondary windows of the race card, then shows the tuning window modally.
int ShowTuningWindow(Application& app, QWidget* raceCard);

}  // namespace veltrix::gui
