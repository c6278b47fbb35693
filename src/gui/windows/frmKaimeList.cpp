#include "gui/windows/frmKaimeList.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <exception>

#include "app/betting_commands.h"
#include "betting/kaime_list.h"
#include "gui/widgets/grid_view.h"
#include "gui/widgets/qt_host.h"
#include "gui/widgets/sheet_model.h"

namespace veltrix::gui {

namespace {

// The sheet as the grid shows it: "T" in the total row's header, and the stake
// column editable, a typed amount going to the core's stake command.
class KaimeListModel final : public QIdentityProxyModel {
public:
    KaimeListModel(Application& app, QObject* parent) : QIdentityProxyModel(parent), app_(app) {}

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Vertical && role == Qt::DisplayRole) {
            if (section < 0 || section >= rowCount()) return {};
            return toQString(KaimeRowHeader(app_.betting.kaimeList, RowNo(section + 1)));
        }
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        Qt::ItemFlags f = QIdentityProxyModel::flags(index);
        if (index.isValid() && index.column() + 1 == kaime_col::kKingaku.value) f |= Qt::ItemIsEditable;
        return f;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::EditRole) return QIdentityProxyModel::data(index, Qt::DisplayRole);
        return QIdentityProxyModel::data(index, role);
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (role != Qt::EditRole || !index.isValid() || index.column() + 1 != kaime_col::kKingaku.value)
            return false;
        // A stake that fails keeps its old text.
        return Quietly(false, [&] {
            return !EditKingaku(app_, RowNo(index.row() + 1), value.toString().toStdString());
        });
    }

private:
    Application& app_;
};

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

}  // namespace

frmKaimeList::frmKaimeList(Application& app, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Window), app_(app), mainWindow_(mainWindow), dialogs_(this), ui_(&dialogs_) {
    setObjectName(QStringLiteral("frmKaimeList"));
    setWindowTitle(QStringLiteral("買い目リスト"));
    buildControls();
    subscription_ = app_.changes.subscribe([this](Change c) {
        if (c == Change::BetListLoaded) scrollToTopRow();
    });
    resize(640, 460);
}

frmKaimeList::~frmKaimeList() = default;

void frmKaimeList::buildControls() {
    auto* layout = new QVBoxLayout(this);
    fpsKaimeList_ = MakeGridView(this, QStringLiteral("fpsKaimeList"));
    sheetModel_ = new SheetModel(app_.betting.kaimeList.fpsKaimeList, fpsKaimeList_);
    auto* proxy = new KaimeListModel(app_, fpsKaimeList_);
    proxy->setSourceModel(sheetModel_);
    model_ = proxy;
    fpsKaimeList_->setModel(proxy);
    InstallDelegate(fpsKaimeList_, -1, [](QObject* parent) { return new SheetDelegate(parent); });
    auto applyHidden = [this] {
        const Sheet& s = app_.betting.kaimeList.fpsKaimeList;
        for (int c = 1; c <= s.colCount(); ++c)
            fpsKaimeList_->setColumnHidden(c - 1, s.isColumnHidden(ColNo(c)));
    };
    applyHidden();
    connect(proxy, &QAbstractItemModel::modelReset, this, [this, applyHidden] {
        applyHidden();
        scrollToTopRow();
    });
    fpsKaimeList_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                   QAbstractItemView::AnyKeyPressed);
    fpsKaimeList_->verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    fpsKaimeList_->horizontalHeader()->setSectionsClickable(true);
    const int widths[] = {0, 0, 0, 0, 60, 70, 56, 90, 90, 60, 90, 64};
    for (int c = 4; c < kaime_col::kColumns; ++c) fpsKaimeList_->setColumnWidth(c, widths[c]);
    connect(fpsKaimeList_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int section) { Quietly([&] { SortKaime(app_, ColNo(section + 1)); }); });
    fpsKaimeList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(fpsKaimeList_, &QWidget::customContextMenuRequested, this, &frmKaimeList::contextMenuRequested);
    layout->addWidget(fpsKaimeList_, 1);

    mnuKaime_ = new QMenu(this);
    mnuKaime_->setObjectName(QStringLiteral("mnuKaime"));
    mnuOperationKaime_ = mnuKaime_->addAction(QString());
    mnuOperationKaime_->setObjectName(QStringLiteral("mnuOperationKaime"));
    connect(mnuOperationKaime_, &QAction::triggered, this, [this] {
        Quietly([&] { ToggleKaime(app_, mnuOperationKaime_->data().toString().toStdString()); });
    });

    auto* buttons = new QHBoxLayout;
    QPushButton* kin = button(this, "cmdBunpaiKin", QStringLiteral("金額均等分配"));
    QPushButton* harai = button(this, "cmdBunpaiHarai", QStringLiteral("払戻均等分配"));
    QPushButton* save = button(this, "cmdSave", QStringLiteral("保存"));
    QPushButton* csv = button(this, "cmdPutCSV", QStringLiteral("CSV出力"));
    connect(kin, &QPushButton::clicked, this, &frmKaimeList::cmdBunpaiKin_Click);
    connect(harai, &QPushButton::clicked, this, &frmKaimeList::cmdBunpaiHarai_Click);
    connect(save, &QPushButton::clicked, this, &frmKaimeList::cmdSave_Click);
    connect(csv, &QPushButton::clicked, this, &frmKaimeList::cmdPutCSV_Click);
    buttons->addWidget(kin);
    buttons->addWidget(harai);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(csv);
    layout->addLayout(buttons);
}

void frmKaimeList::setUserInterface(UserInterface* ui) { ui_ = ui ? ui : &dialogs_; }

template <class Command>
void frmKaimeList::locked(Command command) {
    setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Quietly([&] { command(); });
    QApplication::restoreOverrideCursor();
    setEnabled(true);
}

void frmKaimeList::cmdBunpaiKin_Click() {
    locked([this] { BunpaiKin(app_); });
}

void frmKaimeList::cmdBunpaiHarai_Click() {
    locked([this] { BunpaiHarai(app_); });
}

void frmKaimeList::cmdSave_Click() {
    // A failed save leaves the file of the last save.
    locked([this] { SaveKaimeListCommand(app_, *ui_); });
}

void frmKaimeList::cmdPutCSV_Click() {
    locked([this] { PutKaimeCsv(app_, *ui_); });
}

void frmKaimeList::contextMenuRequested(const QPoint& pos) {
    const QModelIndex index = fpsKaimeList_->indexAt(pos);
    if (!index.isValid()) return;
    const std::string caption = KaimeListMenuCaption(app_, RowNo(index.row() + 1));
    if (caption.empty()) return;  // the total row has no menu
    mnuOperationKaime_->setText(toQString(caption));
    mnuOperationKaime_->setData(toQString(caption));
    mnuOperationKaime_->setEnabled(isEnabled());
    mnuKaime_->popup(fpsKaimeList_->viewport()->mapToGlobal(pos));
}

void frmKaimeList::scrollToTopRow() {
    const int top = app_.betting.kaimeList.TopRow;
    if (top < 1 || top > model_->rowCount()) return;
    fpsKaimeList_->scrollTo(model_->index(top - 1, kaime_col::kShikibetsu.value - 1),
                            QAbstractItemView::PositionAtTop);
}

void frmKaimeList::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || !mainWindow_) return;
    placed_ = true;
    // At the bottom-left of the race card's window.
    const QRect main = mainWindow_->frameGeometry();
    move(main.left(), main.bottom() - frameGeometry().height() + 1);
}

void frmKaimeList::closeEvent(QCloseEvent* event) {
    // The list lives as long as the program; closing only hides it.
    event->ignore();
    hide();
}

}  // namespace veltrix::gui
