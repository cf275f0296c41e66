#include "support/testsupport.h"

#include "app/forms.h"
#include "db/schema.h"
#include "shell/moddapra.h"
#include "toolkit/form.h"
#include "toolkit/format.h"
#include "toolkit/reportlist.h"

#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testing {

TestInstall::TestInstall() : previousHome_(qgetenv("DAPRA_HOME")) {
    if (!dir_.isValid()) {
        qFatal("no temporary folder");
    }
    qputenv("DAPRA_HOME", dir_.path().toUtf8());
    db::createDatabaseFile(dbPath());
    writeDbTxt(dbPath().toUtf8() + "\r\n");
    resetProgramState();
    moddapra::DbPath.clear();
}

TestInstall::~TestInstall() {
    resetProgramState();
    if (previousHome_.isEmpty()) {
        qunsetenv("DAPRA_HOME");
    } else {
        qputenv("DAPRA_HOME", previousHome_);
    }
}

QString TestInstall::dbTxt() const {
    return dir_.path() + QStringLiteral("/db.txt");
}

QString TestInstall::dbPath() const {
    return dir_.path() + QStringLiteral("/dapra.mdb");
}

std::unique_ptr<db::Connection> TestInstall::connect() const {
    return std::make_unique<db::Connection>(dbPath());
}

void TestInstall::exec(const QString& sql, const QVariantList& params) const {
    connect()->exec(sql, params);
}

QVariant TestInstall::scalar(const QString& sql, const QVariantList& params) const {
    return connect()->scalar(sql, params);
}

qint64 TestInstall::count(const QString& table) const {
    return scalar(QStringLiteral("SELECT count(*) FROM ") + table).toLongLong();
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

void TestInstall::writeDbTxt(const QByteArray& content) const {
    writeBytes(dbTxt(), content);
}

MainWindow::MainWindow() {
    auto* area = new QMdiArea(main_.get());
    main_->setCentralWidget(area);
    main_->resize(1100, 750);
    ui::setMdiArea(area);
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
    if (folder) {
        probe.remove();
    }
    return refused;
}

QStringList seen(const ui::MessageRecorder& boxes) {
    QStringList lines;
    for (const ui::MessageRecord& box : boxes.boxes()) {
        const char* icon = box.icon == ui::Icon::Information   ? "i"
                           : box.icon == ui::Icon::Exclamation ? "!"
                                                               : "-";
        const char* question = box.buttons == ui::Buttons::YesNo ? "?" : "";
        lines.append(box.title + " (" + icon + question + "): " + box.text);
    }
    return lines;
}

void resetProgramState() {
    moddapra::UserId = 0;
    moddapra::UserName.clear();
    moddapra::MenuAkses.clear();
    moddapra::FormMode.clear();
    moddapra::OrderListMode.clear();
}

void whenModal(std::function<void(QWidget*)> action, int timeoutMs) {
    auto* timer = new QTimer;
    auto elapsed = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, timeoutMs] {
        QWidget* modal = QApplication::activeModalWidget();
        *elapsed += 10;
        if (modal && modal->isVisible()) {
            timer->stop();
            timer->deleteLater();
            // Keys typed before the window is active would go elsewhere.
            if (!QTest::qWaitFor([modal] { return QApplication::activeWindow() == modal; })) {
                qWarning("whenModal: the modal window did not become active");
            }
            QPointer<QWidget> window(modal);
            action(modal);
            // A check that failed inside the action leaves the window open:
            // close it, so the test ends instead of waiting for ever.
            if (QTest::currentTestFailed() && window && window->isVisible()) {
                window->close();
            }
        } else if (*elapsed > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            qWarning("whenModal: no modal window showed");
        }
    });
    timer->start(10);
}

namespace {

QWidget* keyTarget() {
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
    shell::setFormTable(app::formTable());
    db::Connection::busyTimeoutMs = 200;
}

}  // namespace testing
