#include "support/testsupport.h"

#include "app/forms.h"
#include "db/schema.h"
#include "shell/moddapra.h"
#include "toolkit/form.h"
#include "toolkit/format.h"
#include "toolkit/translation.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPointer>
#include <QTimer>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace testing {

namespace {

// Clears the program-wide state (signed-in user, window request fields).
void resetProgramState() {
    moddapra::UserId = 0;
    moddapra::UserName.clear();
    moddapra::MenuAkses.clear();
    moddapra::FormMode.clear();
    moddapra::OrderListMode.clear();
}

}  // namespace

TestInstall::TestInstall() : previousHome_(qgetenv("DAPRA_HOME")) {
    qputenv("DAPRA_HOME", dir_.path().toUtf8());
    db::createDatabaseFile(dbPath());
    writeDbTxt(dbPath().toUtf8() + "\r\n");
    resetProgramState();
    moddapra::DbPath.clear();
}

TestInstall::~TestInstall() {
    resetProgramState();
    previousHome_.isEmpty() ? qunsetenv("DAPRA_HOME") : qputenv("DAPRA_HOME", previousHome_);
}

qint64 TestInstall::addUser(const QString& name, const QStringList& rights,
                            const QString& passwordHash) const {
    exec("INSERT INTO pengguna (nm_user, Password) VALUES (?, ?)", {name, passwordHash});
    const qint64 id = scalar("SELECT max(id_user) FROM pengguna").toLongLong();
    for (const QString& right : rights) {
        exec("INSERT INTO akses VALUES (?, ?)", {id, right});
    }
    return id;
}

MainWindow::MainWindow() {
    main_->setCentralWidget(new QMdiArea);
    main_->resize(1100, 750);
    ui::setMdiArea(qobject_cast<QMdiArea*>(main_->centralWidget()));
    main_->show();
    back();
}

MainWindow::~MainWindow() {
    main_.reset();
    ui::setMdiArea(nullptr);
    settle();
}

void MainWindow::back() const {
    if (QApplication::activeWindow() != main_.get() && !activate(main_.get())) {
        qWarning("main window not active");
    }
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

void limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = std::min(bytes, limit.rlim_max);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

bool writeProtect(const QString& path, bool on) {
    const QByteArray name = QFile::encodeName(path);
    const bool folder = QFileInfo(path).isDir();
    ::chmod(name.constData(), on ? (folder ? 0555 : 0444) : (folder ? 0755 : 0644));
    if (const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
        }
        ::close(fd);
    }
    QFile probe(folder ? path + QStringLiteral("/probe") : path);
    const bool refused = !probe.open(folder ? QIODevice::WriteOnly : QIODevice::Append);
    return folder && !refused ? !probe.remove() : refused;
}

QStringList seen(const ui::MessageRecorder& boxes) {
    QStringList lines;
    for (const ui::MessageRecord& box : boxes.boxes()) {
        const QString icon = box.icon == ui::Icon::Information   ? "i"
                             : box.icon == ui::Icon::Exclamation ? "!"
                                                                 : "-";
        lines.append(box.title + " (" + icon + (box.buttons == ui::Buttons::YesNo ? "?" : "") +
                     "): " + box.text);
    }
    return lines;
}

namespace {

// Actions waiting for a modal window, and the window one of them acts on.
int waiting = 0;
QPointer<QWidget> actedOn;

void closeWindow(QWidget* window) {
    if (auto* dialog = qobject_cast<QDialog*>(window)) {
        dialog->reject();  // a message box lives on the stack of its caller
    } else if (!window->close()) {
        window->deleteLater();
    }
}

// Fails the running test, never one that ended meanwhile.
void fail(const QString& message) {
    QTest::currentTestFunction() ? QTest::qFail(qPrintable(message), __FILE__, __LINE__)
                                 : qWarning("%s", qPrintable(message));
}

// A modal window nobody waits for would hold the test until its time-out.
void watchModalWindows() {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        static QPointer<QWidget> seen;
        static int ticks = 0;
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || waiting > 0 || modal == actedOn) {
            ticks = 0;
            return;
        }
        ticks = modal == seen ? ticks + 1 : 0;
        seen = modal;
        if (ticks == 20) {
            fail("unexpected modal window " + describe(modal));
            closeWindow(modal);
        }
    });
    timer->start(50);
}

}  // namespace

void whenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    const QByteArray test = QTest::currentTestFunction();
    ++waiting;
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs, test] {
        QWidget* modal = QApplication::activeModalWidget();
        *elapsed += 10;
        const bool shown = modal && modal->isVisible();
        if (!shown && *elapsed <= timeoutMs && test == QTest::currentTestFunction()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        --waiting;
        if (!shown) {
            fail(QStringLiteral("no modal window showed"));
            return;
        }
        // Keys typed before the window is active would go elsewhere.
        if (!QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; })) {
            fail("the modal window did not become active: " + describe(modal));
        }
        const QPointer<QWidget> outer = actedOn;
        actedOn = modal;
        action(modal);
        actedOn = outer;
    });
    timer->start(10);
}

QString describe(const QWidget* window) {
    return window ? QStringLiteral("%1 %2 \"%3\"")
                        .arg(window->metaObject()->className(), window->objectName(),
                             window->windowTitle())
                  : QStringLiteral("<none>");
}

void failNow(const QString& message) {
    fail(message);
    std::fflush(stdout);
    std::_Exit(1);
}

void readNextMenu(QStringList& items) {
    QTimer::singleShot(100, [&items] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            items << QStringLiteral("no menu");
            return;
        }
        for (QAction* item : menu->actions()) {
            if (item->isVisible() && !item->isSeparator()) {
                items << item->text().section('\t', 0, 0).remove('&');
            }
        }
        // Through the menu's own window, as the platform hands it a key.
        QTest::keyClick(menu->windowHandle(), Qt::Key_Escape);
    });
}

QStringList shown(const QWidget* window) {
    QMap<QString, QString> texts;  // by name, "Label1" before "Label10"
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(w);
        const auto* button = qobject_cast<const QAbstractButton*>(w);
        const auto* frame = qobject_cast<const QGroupBox*>(w);
        const QString text = label    ? label->text()
                             : button ? button->text()
                             : frame  ? frame->title()
                                      : "";
        const QString tip = w->toolTip().isEmpty() ? "" : '[' + w->toolTip() + ']';
        // A label without text is a picture.
        if ((button || frame || !text.isEmpty()) && w->isVisibleTo(window) &&
            !w->objectName().startsWith("qt_")) {
            texts[w->objectName()] =
                text.isEmpty() || tip.isEmpty() ? text + tip : text + ' ' + tip;
        }
    }
    QStringList lines;
    for (auto it = texts.cbegin(); it != texts.cend(); ++it) {
        lines << it.key() + ':' + (it.value().isEmpty() ? "" : ' ' + it.value());
    }
    return lines;
}

QStringList columns(const QTreeWidget* list) {
    const double dpi = list->logicalDpiX();
    QStringList shown;
    for (int c = 0; c < list->columnCount(); ++c) {
        const int twips =
            list->isColumnHidden(c) ? 0 : qRound(list->columnWidth(c) * 14.4 / dpi) * 100;
        const QTreeWidgetItem* row =
            list->topLevelItemCount() > 0 ? list->topLevelItem(0) : list->headerItem();
        const int align = row->textAlignment(c) & Qt::AlignHorizontal_Mask;
        const char* side = align & Qt::AlignRight ? "R" : align & Qt::AlignHCenter ? "C" : "L";
        shown << QStringLiteral("%1 %2 %3").arg(list->headerItem()->text(c)).arg(twips).arg(side);
    }
    return shown;
}

namespace {

// An open menu takes the keys, as it does on a display.
QWidget* keyTarget() {
    if (QWidget* popup = QApplication::activePopupWidget()) {
        return popup;
    }
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus : QApplication::activeWindow();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(keyTarget(), key, modifiers);
}

}  // namespace

void keys(const QString& road) {
    static const QMap<QString, Qt::Key> named = {
        {"Tab", Qt::Key_Tab},      {"Shift+Tab", Qt::Key_Backtab},
        {"Enter", Qt::Key_Return}, {"Esc", Qt::Key_Escape},
        {"Space", Qt::Key_Space},  {"Up", Qt::Key_Up},
        {"Down", Qt::Key_Down},    {"Home", Qt::Key_Home},
        {"End", Qt::Key_End},      {"Backspace", Qt::Key_Backspace}};
    static const QMap<QString, Qt::KeyboardModifier> chords = {{"Alt+", Qt::AltModifier},
                                                               {"Ctrl+", Qt::ControlModifier}};
    for (const QString& step : road.split('|')) {
        if (!keyTarget()) {  // reported once: the keys after it go nowhere either
            if (!QTest::currentTestFailed()) {
                fail("no window is active to take the key " + step + " of \"" + road + '"');
            }
            return;
        }
        const QString chord = step.left(step.indexOf('+') + 1);
        if (step == "Del") {  // as X11 sends it, with the character 0x7f
            QTest::sendKeyEvent(QTest::Click, keyTarget(), Qt::Key_Delete, QString(QChar(0x7f)),
                                Qt::NoModifier);
        } else if (named.contains(step)) {
            press(named.value(step));
        } else if (chords.contains(chord) && step.size() == chord.size() + 1) {
            press(Qt::Key(Qt::Key_A + step.back().unicode() - 'A'), chords.value(chord));
        } else {
            for (const QChar c : step) {
                QTest::keyClick(keyTarget(), c.toLatin1());
            }
        }
    }
}

QStringList tabRoad(int presses, Qt::Key key) {
    QStringList names{focusName()};
    for (int i = 0; i < presses; ++i) {
        press(key);
        names.append(focusName());
    }
    return names;
}

void doubleClick(QTreeWidget* list, int row) {
    const QPoint at = row < 0 ? QPoint(20, list->viewport()->height() - 5)
                              : list->visualItemRect(list->topLevelItem(row)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at);
}

QStringList column(const QTreeView* list, int col) {
    QStringList texts;
    for (int i = 0; i < list->model()->rowCount(); ++i) {
        texts.append(list->model()->index(i, col).data().toString());
    }
    return texts;
}

QStringList column(const std::vector<db::Row>& rows, int col) {
    QStringList texts;
    for (const db::Row& row : rows) {
        texts.append(row.value(col).toString());
    }
    return texts;
}

QStringList rows(const QTreeView* list) {
    QStringList texts;
    const QAbstractItemModel* model = list->model();
    for (int i = 0; i < model->rowCount(); ++i) {
        QStringList row;
        for (int c = 0; c < model->columnCount(); ++c) {
            row.append(model->index(i, c).data().toString());
        }
        texts.append(row.join('|'));
    }
    return texts;
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("<none>");
}

bool activate(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 3000);
}

void settle() {
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
}

void prepareApplication() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
}

void afterApplication() {
    fmt::applyIndonesianLocale();
    ui::installIndonesianTexts();
    shell::setFormTable(app::formTable());
    db::Connection::busyTimeoutMs = 200;
    watchModalWindows();
}

}  // namespace testing
