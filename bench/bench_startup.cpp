// Measures the program's start: the time from starting the process to the
// sign-in dialog painted, from pressing "Login" to the main window painted,
// and the resident memory with every window open, on a database holding only
// one user and on years of a busy restaurant (see datagen.h).
// Run: build/bench/bench_startup [years] [runs]; with 0 years only the first
// two cases run (the short run of CI). The goals are held on the years.
//
// Each run is a new process: this program started again with --child, which
// goes the program's own way (app::prepareProgram, fUtama::start) and prints
// a stamp of the monotonic clock at each step; the driver takes its own stamp
// just before starting it.
#include "datagen.h"
#include "toolkit/datepicker.h"

#include "app/startup.h"
#include "controlpanel/fuser.h"
#include "controlpanel/userqueries.h"
#include "db/schema.h"
#include "shell/flogin.h"
#include "shell/futama.h"
#include "shell/installfolder.h"
#include "shell/password.h"
#include "shell/windowrequests.h"
#include "toolkit/form.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr double kLoginGoalMs = 150;
constexpr double kMemoryGoalMb = 80;

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// ---- the child: the program's start, stamped -------------------------------

void stamp(const char* what) {
    std::printf("%s %lld\n", what, static_cast<long long>(nowNs()));
    std::fflush(stdout);
}

// A line of /proc/self/status in kB ("VmRSS", "VmHWM").
qint64 statusKb(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key)) {
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return -1;
}

void memory(const QString& what, const char* field = "VmRSS") {
    std::printf("rss %s %lld\n", qPrintable(QString(what).replace(u' ', u'_')), statusKb(field));
    std::fflush(stdout);
}

// Runs the event loop for a while, so lists filled in batches finish.
void settle(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void clickIn(QWidget* window, const QString& button) {
    window->findChild<QPushButton*>(button)->click();
}

// Every working window of the main window at once, then each modal window in
// turn, then the period list filled with its last year.
void openEveryWindow() {
    using shell::FormId;
    for (const shell::FormEntry& entry : shell::formTable()) {
        if (!entry.modal) {
            shell::requestForm(entry.id);
        }
    }
    settle(1500);
    memory(QStringLiteral("working"));
    for (const shell::FormEntry& entry : shell::formTable()) {
        if (!entry.modal) {
            continue;
        }
        const QString name = entry.right;
        QTimer::singleShot(300, [name] {
            memory(name);
            if (auto* form = qobject_cast<ui::Form*>(QApplication::activeModalWidget())) {
                form->unload();
            }
        });
        shell::requestForm(entry.id);
    }
    memory(QStringLiteral("hwm-windows"), "VmHWM");
    if (ui::Form* period = shell::openForm(FormId::fReportPenjualanPeriode)) {
        period->findChild<ui::DatePicker*>(QStringLiteral("DTPicker1"))
            ->setDate(QDate::currentDate().addYears(-1));
        clickIn(period, QStringLiteral("Command1"));
        settle(1500);
        memory(QStringLiteral("year-list"));
    }
    memory(QStringLiteral("hwm"), "VmHWM");
    ::_exit(0);
}

// Stamps the first paint of the sign-in dialog, of the main window and of
// user management (shown on a database without users), and signs in.
class Watcher : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Paint) {
            return false;
        }
        if (!login_ && qobject_cast<shell::fLogin*>(watched)) {
            login_ = true;
            stamp("login");
            auto* dialog = static_cast<QWidget*>(watched);
            QTimer::singleShot(0, dialog, [dialog] { signIn(dialog); });
        } else if (!main_ && login_ && qobject_cast<shell::fUtama*>(watched)) {
            main_ = true;
            stamp("main");
            QTimer::singleShot(0, &openEveryWindow);
        } else if (!login_ && qobject_cast<controlpanel::fUser*>(watched)) {
            stamp("users");
            ::_exit(0);
        }
        return false;
    }

private:
    static void signIn(QWidget* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QStringLiteral("kasir1"));
        dialog->findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(datagen::kPassword);
        stamp("press");
        clickIn(dialog, QStringLiteral("Command2"));
    }

    bool login_ = false;
    bool main_ = false;
};

int child(int argc, char** argv) {
    stamp("exec");
    QApplication app(argc, argv);
    Watcher watcher;
    app.installEventFilter(&watcher);
    stamp("qapp");
    app::prepareProgram();
    shell::fUtama window;
    stamp("built");
    window.start();
    return QApplication::exec();
}

// ---- the driver ------------------------------------------------------------

using Stamps = std::map<QString, double>;  // event -> ms since the driver started the child

Stamps runChild(const QString& self) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const qint64 start = nowNs();
    process.start(self, {QStringLiteral("--child")});
    process.waitForFinished(120000);
    Stamps stamps;
    for (const QByteArray& line : process.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2) {
            stamps[QString::fromLatin1(parts[0])] = double(parts[1].toLongLong() - start) / 1e6;
        } else if (parts.size() == 3) {  // rss <what> <kB>
            stamps[QString::fromLatin1(parts[1])] = double(parts[2].toLongLong()) / 1024;
        }
    }
    return stamps;
}

double median(std::vector<double> values) {
    if (values.empty()) {
        return -1;
    }
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Drops the file's pages from the page cache, so the next start reads it
// from the disk.
void evict(const QString& file) {
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDONLY);
    if (fd >= 0) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

// A new database holding the empty tables and one user with every right.
QString oneUserDatabase(const QString& folder) {
    const QString file = folder + QStringLiteral("/one-user.mdb");
    db::createDatabaseFile(file);
    db::Connection c(file);
    QStringList rights;
    for (const shell::FormEntry& entry : shell::formTable()) {
        rights << entry.right;
    }
    controlpanel::addUserIfNew(c, QStringLiteral("kasir1"), password::hash(datagen::kPassword));
    controlpanel::replaceRights(c, QStringLiteral("kasir1"), rights);
    return file;
}

struct Case {
    const char* name;
    QString database;  // empty: a first start, no install folder yet
    bool cold = false;
    bool judged = false;  // held to the goals
};

double medianOf(const std::vector<Stamps>& runs, const QString& key, const QString& from = {}) {
    std::vector<double> values;
    for (const Stamps& s : runs) {
        if (s.count(key) && (from.isEmpty() || s.count(from))) {
            values.push_back(s.at(key) - (from.isEmpty() ? 0.0 : s.at(from)));
        }
    }
    return median(values);
}

// Prints the medians of the runs of one case. True when every run went to its
// end and, for a case that is judged, the goals are met.
bool report(const Case& kase, const std::vector<Stamps>& runs) {
    auto med = [&](const char* key, const char* from = "") {
        return medianOf(runs, QString::fromLatin1(key), QString::fromLatin1(from));
    };
    const char* last = kase.database.isEmpty() ? "users" : "hwm";
    const bool ended = std::all_of(runs.begin(), runs.end(), [&](const Stamps& s) {
        return s.count(QString::fromLatin1(last)) != 0;
    });
    std::printf("\n%s (%zu runs, medians)%s\n", kase.name, runs.size(),
                ended ? "" : "  A RUN DID NOT REACH ITS END");
    if (kase.database.isEmpty()) {
        std::printf("  start -> user management painted    %8.1f ms\n", med("users"));
        return ended;
    }
    std::printf("  start -> main() entered             %8.1f ms\n", med("exec"));
    std::printf("  start -> QApplication made          %8.1f ms\n", med("qapp"));
    std::printf("  start -> main window built          %8.1f ms\n", med("built"));
    std::printf("  start -> sign-in dialog painted     %8.1f ms   (goal <= %.0f)\n", med("login"),
                kLoginGoalMs);
    std::printf("  Login pressed -> main window painted %7.1f ms\n", med("main", "press"));
    std::printf("  start -> main window painted        %8.1f ms\n", med("main"));
    double modal = 0;
    for (const shell::FormEntry& entry : shell::formTable()) {
        if (entry.modal) {
            modal = std::max(modal, medianOf(runs, QString(entry.right).replace(u' ', u'_')));
        }
    }
    const double resident = std::max(med("working"), modal);
    std::printf("  resident, every working window open %8.1f MB\n", med("working"));
    std::printf("  resident, + each modal window (max) %8.1f MB   (goal <= %.0f)\n", modal,
                kMemoryGoalMb);
    std::printf("  peak resident so far (VmHWM)        %8.1f MB\n", med("hwm-windows"));
    std::printf("  resident, + period list of a year   %8.1f MB\n", med("year-list"));
    std::printf("  peak resident at the end (VmHWM)    %8.1f MB\n", med("hwm"));
    return ended && (!kase.judged || (med("login") <= kLoginGoalMs && resident <= kMemoryGoalMb));
}

int driver(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    app::prepareProgram();  // the window table, for the rights and the windows' names
    datagen::Restaurant restaurant;
    if (argc > 1) {
        restaurant.years = QByteArray(argv[1]).toInt();
    }
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 7;
    QTemporaryDir work;
    const QString label = QStringLiteral("%1 years of data").arg(restaurant.years);
    const QString coldLabel = label + QStringLiteral(", database file not cached");
    const QByteArray yearsName = label.toUtf8();
    const QByteArray coldName = coldLabel.toUtf8();
    std::vector<Case> cases = {
        {"first start (no install folder)", QString()},
        {"database with one user, no orders", oneUserDatabase(work.path())},
    };
    if (restaurant.years > 0) {
        const QString years = datagen::cachedDatabase(restaurant);
        cases.push_back({yearsName.constData(), years, false, true});
        cases.push_back({coldName.constData(), years, true, true});
    }
    const QString self = QCoreApplication::applicationFilePath();
    bool met = true;
    int serial = 0;
    for (const Case& kase : cases) {
        std::vector<Stamps> results;
        for (int i = 0; i < runs; ++i) {
            const QString home = work.filePath(QStringLiteral("home%1").arg(++serial));
            qputenv("DAPRA_HOME", QFile::encodeName(home));
            if (!kase.database.isEmpty()) {
                QDir().mkpath(home);
                install::writeDbTxt(kase.database);
            }
            if (kase.cold) {
                evict(kase.database);
            }
            results.push_back(runChild(self));
        }
        met = report(kase, results) && met;
    }
    return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && qstrcmp(argv[1], "--child") == 0) {
        return child(argc, argv);
    }
    return driver(argc, argv);
}
