#pragma once
#include <QWidget>

class QLabel;

namespace veltrix::gui {

// Shown while the program starts; no controls, closed by the start-up.
class frmSplash final : public QWidget {
    Q_OBJECT
public:
    explicit frmSplash(QWidget* parent = nullptr);
    QLabel* lblVersion() const { return lblVersion_; }

private:
    QLabel* lblVersion_;
};

// "Version 2.8.3": the text the splash and the version window show.
QString VersionText();

}  // namespace veltrix::gui
