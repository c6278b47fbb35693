#pragma once
#include <QDialog>

class QPushButton;

namespace veltrix::gui {

// Program name and version; closed with OK.
class frmVersion final : public QDialog {
    Q_OBJECT
public:
    explicit frmVersion(QWidget* parent = nullptr);
    QPushButton* cmdOK() const { return cmdOK_; }

private:
    QPushButton* cmdOK_;
};

}  // namespace veltrix::gui
