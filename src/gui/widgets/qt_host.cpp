#include "gui/widgets/qt_host.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

#include "app/program_folder.h"

namespace veltrix::gui {

namespace {
QMessageBox::Icon toQtIcon(Icon icon) {
    switch (icon) {
        case Icon::Warning:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Question:
            return QMessageBox::Question;
    }
    return QMessageBox::Warning;
}
}  // namespace

std::filesystem::path toPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString fromPath(const std::filesystem::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

QtUserInterface::QtUserInterface(QWidget* parent) : parent_(parent) {}
void QtUserInterface::setParent(QWidget* parent) { parent_ = parent; }
void QtUserInterface::setStatusLabel(QLabel* label) { status_ = label; }
void QtUserInterface::setProgressBar(QProgressBar* bar) { progress_ = bar; }

void LogLine(const std::string& text) {
    static const bool enabled = !qEnvironmentVariableIsEmpty("VELTRIX_LOG");
    if (!enabled) return;
    std::fprintf(stderr, "veltrix: %s\n", text.c_str());
    std::fflush(stderr);
}

void QtUserInterface::showMessage(const std::string& text, Icon icon) {
    LogLine("message: " + text);
    QMessageBox box(toQtIcon(icon), QString::fromLatin1(kMessageTitle), toQString(text), QMessageBox::Ok,
                    parent_);
    box.setObjectName(QStringLiteral("msgVeltrix"));
    box.exec();
}

bool QtUserInterface::askYesNo(const std::string& text, Icon icon, bool defaultNo) {
    LogLine("question: " + text);
    QMessageBox box(toQtIcon(icon), QString::fromLatin1(kMessageTitle), toQString(text),
                    QMessageBox::Yes | QMessageBox::No, parent_);
    box.setObjectName(QStringLiteral("msgVeltrix"));
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtUserInterface::askOkCancel(const std::string& text, Icon icon) {
    LogLine("question: " + text);
    QMessageBox box(toQtIcon(icon), QString::fromLatin1(kMessageTitle), toQString(text),
                    QMessageBox::Ok | QMessageBox::Cancel, parent_);
    box.setObjectName(QStringLiteral("msgVeltrix"));
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

std::string QtUserInterface::askSaveFileName(const std::string& title, const std::string& filter,
                                             const std::string& proposedName) {
    QString name = QFileDialog::getSaveFileName(parent_, toQString(title), toQString(proposedName),
                                                toQtFileFilter(filter));
    return name.toStdString();
}

void QtUserInterface::setStatus(const std::string& text) {
    if (status_) status_->setText(toQString(text));
}

void QtUserInterface::setProgressMax(int max) {
    if (progress_) progress_->setRange(0, max > 0 ? max : 0);
}

void QtUserInterface::setProgress(int value) {
    if (progress_) progress_->setValue(value);
}

namespace {

constexpr const char* kCancelControl = "veltrixCancelControl";
constexpr const char* kEscapeCancels = "veltrixEscapeCancels";

// Esc in a window that asked for it: the window turns it into a cancel.
bool isEscapeForWindow(QObject* watched, QEvent* event) {
    const auto type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    if (static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    return widget && widget->window()->property(kEscapeCancels).toBool();
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ShortcutOverride:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

KeyboardReader* keyboardReader = nullptr;

// A key for the whole-keyboard reader, at the first window or widget it reaches.
bool takenByKeyboardReader(QEvent* event) {
    if (!keyboardReader) return false;
    const auto type = event->type();
    if (type == QEvent::ApplicationDeactivate) {
        keyboardReader->keyboardLost();
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (!keyboardReader->wantsKey(key->key())) return false;
    if (type == QEvent::ShortcutOverride) {
        // Taken as a key, so no shortcut of a window acts on it.
        event->accept();
        return true;
    }
    keyboardReader->keyChanged(key->key(), type == QEvent::KeyPress, key->isAutoRepeat());
    return true;
}

class KeyboardFilter final : public QObject {
public:
    bool eventFilter(QObject*, QEvent* event) override { return takenByKeyboardReader(event); }
};

class InputGuard final : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (takenByKeyboardReader(event)) return true;
        if (!isUserInput(event->type())) return false;
        // Input from the window system reaches the window first (a QWindow, no
        // widget) and is handed on from there to the widget it is for, which
        // this filter sees next: the decision belongs to that second stage.
        if (watched->isWindowType()) return false;
        if (isEscapeForWindow(watched, event)) return false;
        for (QObject* o = watched; o; o = o->parent())
            if (o->property(kCancelControl).toBool()) return false;
        return true;
    }
};

}  // namespace

void QtPump::processEvents() {
    static InputGuard guard;
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    app->installEventFilter(&guard);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    app->removeEventFilter(&guard);
}

QtPump& SharedPump() {
    static QtPump pump;
    return pump;
}

void ReadWholeKeyboard(KeyboardReader* reader) {
    static KeyboardFilter filter;
    keyboardReader = reader;
    if (QCoreApplication* app = QCoreApplication::instance()) {
        app->removeEventFilter(&filter);
        if (reader) app->installEventFilter(&filter);
    }
}

void MarkAsCancelControl(QWidget* control) {
    if (control) control->setProperty(kCancelControl, true);
}

void LetEscapeCancel(QWidget* window) {
    if (window) window->setProperty(kEscapeCancels, true);
}

QString toQtFileFilter(const std::string& filter) {
    QString f = toQString(filter);
    if (!f.contains(QLatin1Char('|'))) return f;
    QStringList parts = f.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of each entry.
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else
            description = description.left(description.lastIndexOf(QLatin1Char('('))) + QLatin1Char('(') +
                          patterns + QLatin1Char(')');
        out << description;
    }
    return out.join(QStringLiteral(";;"));
}

void MakeTopMost(QWidget* window) {
    if (!window) return;
    window = window->window();
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint)) {
        window->raise();
        return;
    }
    // Changing the flags re-creates the native window and hides it; put it back as it was.
    const bool visible = window->isVisible();
    const QRect geometry = window->geometry();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    window->setGeometry(geometry);
    if (visible) {
        window->show();
        window->raise();
    }
}

void MakeTopMost(const QString& caption) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isWindow() && w->windowTitle() == caption) {
            MakeTopMost(w);
            return;
        }
    }
}

bool InstallJapaneseTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return true;
    }
    return !QCoreApplication::installTranslator(translator);
}

QUrl GuideUrl(const QString& programFolder) {
    return QUrl::fromLocalFile(fromPath(UserGuideFile(toPath(programFolder))));
}

bool OpenWithShell(const QUrl& target) { return !QDesktopServices::openUrl(target); }

WindowUserInterface::WindowUserInterface(UserInterface*& messages, const UserInterface& dialogs,
                                         std::function<void(const std::string&)> showStatus,
                                         QProgressBar* progress)
    : messages_(messages), dialogs_(dialogs), showStatus_(std::move(showStatus)) {
    progress_.setProgressBar(progress);
}

void WindowUserInterface::showMessage(const std::string& text, Icon icon) {
    messages_->showMessage(text, icon);
}

bool WindowUserInterface::askYesNo(const std::string& text, Icon icon, bool defaultNo) {
    return messages_->askYesNo(text, icon, defaultNo);
}

bool WindowUserInterface::askOkCancel(const std::string& text, Icon icon) {
    return messages_->askOkCancel(text, icon);
}

std::string WindowUserInterface::askSaveFileName(const std::string& title, const std::string& filter,
                                                 const std::string& proposedName) {
    return messages_->askSaveFileName(title, filter, proposedName);
}

void WindowUserInterface::setStatus(const std::string& text) {
    LogLine("status: " + text);
    if (showStatus_) showStatus_(text);
    if (messages_ != &dialogs_) messages_->setStatus(text);
}

void WindowUserInterface::setProgressMax(int max) { progress_.setProgressMax(max); }

void WindowUserInterface::setProgress(int value) { progress_.setProgress(value); }

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(tip));
    return b;
}

}  // namespace veltrix::gui
