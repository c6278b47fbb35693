#include "gui/windows/frmVersion.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/windows/frmSplash.h"

namespace veltrix::gui {

frmVersion::frmVersion(QWidget* parent)
    : QDialog(parent), cmdOK_(new QPushButton(QStringLiteral("OK"), this)) {
    setObjectName(QStringLiteral("frmVersion"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    setModal(true);

    auto* name = new QLabel(QStringLiteral("VELTRIX"), this);
    name->setObjectName(QStringLiteral("lblProductName"));
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(VersionText(), this);
    version->setObjectName(QStringLiteral("lblVersion"));
    auto* note = new QLabel(QStringLiteral("中央競馬のレース分析ツール"), this);
    note->setObjectName(QStringLiteral("lblDescription"));

    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(note);
    layout->addSpacing(12);
    layout->addWidget(cmdOK_, 0, Qt::AlignRight);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace veltrix::gui
