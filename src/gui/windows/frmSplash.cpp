#include "gui/windows/frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "veltrix_version.h"

namespace veltrix::gui {

QString VersionText() { return QStringLiteral("Version " VELTRIX_VERSION_TEXT); }

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint),
      lblVersion_(new QLabel(VersionText(), this)) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setStyleSheet(
        QStringLiteral("#frmSplash { background: #10243f; border: 1px solid #6a89b5; }"
                       "QLabel { color: white; }"));

    auto* name = new QLabel(QStringLiteral("VELTRIX"), this);
    name->setObjectName(QStringLiteral("lblName"));
    QFont big = name->font();
    big.setPointSize(32);
    big.setBold(true);
    name->setFont(big);
    auto* subtitle = new QLabel(QStringLiteral("中央競馬 レース分析"), this);
    subtitle->setObjectName(QStringLiteral("lblSubtitle"));
    lblVersion_->setObjectName(QStringLiteral("lblVersion"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 28, 32, 24);
    layout->addWidget(name);
    layout->addWidget(subtitle);
    layout->addStretch();
    layout->addWidget(lblVersion_, 0, Qt::AlignRight);
    setFixedSize(420, 220);

    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

}  // namespace veltrix::gui
