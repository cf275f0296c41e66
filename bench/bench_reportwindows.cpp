// Measures the period window listing the last year of a busy restaurant (see
// datagen.h), the real window shown offscreen: from pressing "&Tampilkan" to
// the first painted rows, the longest gap between event-loop turns until then,
// from there until End has brought the last row on screen, and the resident
// memory with the list shown and after the window closed. Then the daily
// window: from its opening to its rows painted.
// Run: build/bench/bench_reportwindows [years]
#include "datagen.h"
#include "toolkit/datepicker.h"

#include "reports/freportpenjualanharian.h"
#include "reports/freportpenjualanperiode.h"
#include "toolkit/format.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <functional>

namespace {

// A line of /proc/self/status in MB.
double residentMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return double(line.mid(6).trimmed().split(' ').value(0).toLongLong()) / 1024;
        }
    }
    return -1;
}

double ms(const QElapsedTimer& clock) {
    return double(clock.nsecsElapsed()) / 1e6;
}

// Runs the event loop until done() holds after a paint of the list, checking
// after every turn; returns the time it held (ms on the clock) and records
// the longest gap between two turns.
double untilPainted(QAbstractItemView* list, const QElapsedTimer& clock, double& longestGap,
                    const std::function<bool()>& done) {
    double at = -1;
    double lastTurn = ms(clock);
    QEventLoop loop;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        const double now = ms(clock);
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
        list->viewport()->repaint();  // paints now, as the screen would on this turn
        if (done()) {
            at = now;
            loop.quit();
        }
    });
    turns.start();
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    loop.exec();
    return at;
}

void settle(int msecs) {
    QEventLoop loop;
    QTimer::singleShot(msecs, &loop, &QEventLoop::quit);
    loop.exec();
}

void pressEnd(QWidget* list) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::NoModifier);
    QApplication::sendEvent(list, &press);
}

// Whether the row is on screen with its text.
bool shown(QAbstractItemView* list, int row) {
    const QModelIndex index = list->model()->index(row, 0);
    return index.isValid() && !index.data().toString().isEmpty() &&
           list->viewport()->rect().intersects(list->visualRect(index));
}

void periodWindow(const QDate& start, const QDate& end, qint64 expected) {
    std::printf("resident before the window opens      %8.0f MB\n", residentMb());
    auto* form = new reports::fReportPenjualanPeriode;
    form->resize(1280, 760);
    form->show();
    settle(200);
    form->findChild<ui::DatePicker*>(QStringLiteral("DTPicker1"))->setDate(start);
    form->findChild<ui::DatePicker*>(QStringLiteral("DTPicker2"))->setDate(end);
    auto* list = form->findChild<QAbstractItemView*>(QStringLiteral("ListView1"));
    QElapsedTimer clock;
    clock.start();
    double gap = 0;
    form->findChild<QPushButton*>(QStringLiteral("Command1"))->click();
    gap = ms(clock);  // the click's own handler ran without a turn of the loop
    const double first = untilPainted(list, clock, gap, [&] { return shown(list, 0); });
    std::printf("\"Tampilkan\", %lld payments: first row painted %8.1f ms\n",
                static_cast<long long>(expected), first);
    std::printf("  longest gap between event-loop turns   %8.1f ms\n", gap);
    list->setFocus();
    double endGap = 0;
    const double last = untilPainted(list, clock, endGap, [&] {
        if (list->currentIndex().row() != int(expected - 1)) {
            pressEnd(list);
        }
        return shown(list, int(expected - 1));
    });
    std::printf("  until End shows the last row           %8.1f ms (longest gap %.1f ms)\n", last,
                endGap);
    settle(500);
    std::printf("resident with the year listed           %8.0f MB\n", residentMb());
    form->close();
    settle(500);
    std::printf("resident after the window closed        %8.0f MB\n", residentMb());
}

void dailyWindow() {
    QElapsedTimer clock;
    clock.start();
    auto* form = new reports::fReportPenjualanHarian;
    form->resize(1280, 760);
    form->show();
    auto* list = form->findChild<QAbstractItemView*>(QStringLiteral("ListView1"));
    double gap = ms(clock);
    const int days = list->model()->rowCount();
    const double painted =
        untilPainted(list, clock, gap, [&] { return days > 0 && shown(list, days - 1); });
    std::printf("daily window, %d days: last day painted   %8.1f ms (longest gap %.1f ms)\n", days,
                painted, gap);
    form->close();
    settle(200);
}

}  // namespace

int main(int argc, char** argv) {
    datagen::offscreenUnlessSet();
    QApplication app(argc, argv);
    fmt::applyIndonesianLocale();
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
    QTemporaryDir home;
    const QString data = datagen::useCachedDatabase(argc, argv, home.path());
    if (data.isEmpty()) {
        return 1;
    }

    QDate start;
    QDate end;
    qint64 expected = 0;
    {
        db::Connection c(data);
        end = c.scalar("SELECT max(tgl_bayar) FROM bayar").toDate();
        start = end.addYears(-1).addDays(1);
        expected = c.scalar(
                        "SELECT count(*) FROM bayar b JOIN pesan o ON o.id_order = b.id_order"
                        " WHERE b.tgl_bayar BETWEEN ? AND ?",
                        {fmt::storeDate(start), fmt::storeDate(end)})
                       .toLongLong();
    }
    periodWindow(start, end, expected);
    dailyWindow();
    return 0;
}
