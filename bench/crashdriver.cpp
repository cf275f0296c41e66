// Kills a child process at random points of the program's writes and checks
// that every action is found whole or not at all.
//   build/bench/crash_driver [trials] [--seed N] [--seconds N]
// Three trials in four kill the child just before a randomly chosen one of
// its file writes, syncs, truncations, creations, renames or deletions
// (counted by tracing its system calls); the fourth kills it after a random
// delay. After each kill the database must open, pass the integrity check and
// hold the state before the action or after it; db.txt must name the old path
// or the new one; a first start must leave the next start a whole install folder.

#include "crashcases.h"

#include "db/database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <fcntl.h>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <set>

namespace {

using crashes::Case;
using crashes::Verdict;

// How one child ended.
struct ChildRun {
    bool killed = false;
    bool failed = false;  // ended by itself other than with success
    int writes = 0;       // writes seen before it ended
    qint64 micros = 0;
};

[[noreturn]] void runChild(const Case& action, const QString& trial, bool traced) {
    if (traced) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
    }
    int code = 0;
    try {
        action.act(trial);
    } catch (const db::Error& error) {
        std::fprintf(stderr, "%s: error %d %s\n", qPrintable(action.name), error.number(),
                     qPrintable(error.description()));
        code = 3;
    }
    _exit(code);
}

bool isWriteTo(const __ptrace_syscall_info& info) {
    return info.entry.args[0] > 2;  // not the standard streams
}

// The calls that change a file's content or a folder's entries.
bool changesFiles(const __ptrace_syscall_info& info) {
    switch (info.entry.nr) {
        case SYS_write:
        case SYS_pwrite64:
        case SYS_writev:
        case SYS_pwritev:
        case SYS_pwritev2:
            return isWriteTo(info);
        case SYS_openat:
            return (info.entry.args[2] & O_CREAT) != 0 ||
                   (info.entry.args[2] & O_TMPFILE) == O_TMPFILE;
        case SYS_fsync:
        case SYS_fdatasync:
        case SYS_ftruncate:
        case SYS_truncate:
        case SYS_renameat:
        case SYS_renameat2:
        case SYS_unlinkat:
        case SYS_linkat:
        case SYS_fchmod:
        case SYS_fchmodat:
#ifdef SYS_rename
        case SYS_rename:
        case SYS_unlink:
        case SYS_link:
        case SYS_chmod:
#endif
            return true;
        default:
            return false;
    }
}

void finish(ChildRun& run, int status) {
    run.killed = WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    run.failed = !run.killed && !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

// Runs the action in a traced child and kills it just before its killAt-th
// write (never when killAt is 0).
ChildRun runTraced(const Case& action, const QString& trial, int killAt) {
    ChildRun run;
    const pid_t pid = fork();
    if (pid == 0) {
        runChild(action, trial, true);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    long pending = 0;
    for (;;) {
        ptrace(PTRACE_SYSCALL, pid, nullptr, reinterpret_cast<void*>(pending));
        pending = 0;
        waitpid(pid, &status, 0);
        if (!WIFSTOPPED(status)) {
            finish(run, status);
            return run;
        }
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            pending = WSTOPSIG(status);
            continue;
        }
        __ptrace_syscall_info info{};
        ptrace(PTRACE_GET_SYSCALL_INFO, pid, reinterpret_cast<void*>(sizeof info), &info);
        if (info.op == PTRACE_SYSCALL_INFO_ENTRY && changesFiles(info) && ++run.writes == killAt) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            finish(run, status);
            return run;
        }
    }
}

// Runs the action in a child and kills it after delayMicros (never when negative).
ChildRun runTimed(const Case& action, const QString& trial, qint64 delayMicros) {
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        runChild(action, trial, false);
    }
    if (delayMicros >= 0) {
        const timespec pause{time_t(delayMicros / 1000000), long(delayMicros % 1000000) * 1000};
        nanosleep(&pause, nullptr);
        kill(pid, SIGKILL);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ChildRun run;
    finish(run, status);
    run.micros = clock.nsecsElapsed() / 1000;
    return run;
}

// What the trials of one action found.
struct Tally {
    QString before;
    QString after;
    int points = 0;  // writes of a whole run
    qint64 micros = 0;
    int trials = 0;
    int kills = 0;
    std::set<int> pointsReached;
    std::map<Verdict, int> verdicts;
    int failed = 0;
    int leftovers = 0;
    QString firstFault;
};

// Files a trial leaves beside the database, its journal and db.txt: the
// temporary files of a copy or of db.txt that was cut short.
int leftoverFiles(const QString& trial) {
    const QStringList kept = {QStringLiteral("dapra.mdb"), QStringLiteral("dapra.mdb-journal"),
                              QStringLiteral("db.txt")};
    int count = 0;
    for (const QString& name : QDir(trial).entryList(QDir::Files | QDir::Hidden)) {
        count += kept.contains(name) ? 0 : 1;
    }
    return count;
}

// Runs the action once whole: its states before and after, and its writes.
bool calibrate(const Case& action, const QString& trial, Tally& tally) {
    action.prepare(trial);
    tally.before = action.state(trial);
    const ChildRun traced = runTraced(action, trial, 0);
    tally.after = action.state(trial);
    tally.points = traced.writes;
    action.prepare(trial);
    tally.micros = runTimed(action, trial, -1).micros;
    const bool sound = !traced.failed && tally.before != tally.after &&
                       !tally.before.startsWith(QStringLiteral("damaged: integrity")) &&
                       !tally.after.startsWith(QStringLiteral("damaged:")) &&
                       action.state(trial) == tally.after;
    if (!sound) {
        std::fprintf(stderr, "%s: a whole run is not sound\n  before %s\n  after %s\n",
                     qPrintable(action.name), qPrintable(tally.before), qPrintable(tally.after));
    }
    return sound;
}

// How many of an action's last writes get half the kills.
constexpr int kTailWrites = 12;

void trial(const Case& action, const QString& folder, std::mt19937_64& random, Tally& tally) {
    action.prepare(folder);
    ChildRun run;
    int killAt = 0;
    if (random() % 4 != 0) {
        // Half the kills fall among the last writes, where the commit lies.
        const int first = random() % 2 ? 1 : std::max(1, tally.points - kTailWrites);
        killAt = int(std::uniform_int_distribution<int>(first, tally.points + 1)(random));
        run = runTraced(action, folder, killAt);
    } else {
        const qint64 range = tally.micros + tally.micros / 3;
        run = runTimed(action, folder, std::uniform_int_distribution<qint64>(0, range)(random));
    }
    ++tally.trials;
    tally.kills += run.killed ? 1 : 0;
    if (run.killed && killAt > 0) {
        tally.pointsReached.insert(killAt);
    }
    tally.failed += run.failed ? 1 : 0;
    const QString state = action.state(folder);
    const Verdict verdict = crashes::judge(state, tally.before, tally.after);
    ++tally.verdicts[verdict];
    if ((verdict == Verdict::Partial || verdict == Verdict::Damaged || run.failed) &&
        tally.firstFault.isEmpty()) {
        tally.firstFault = QStringLiteral("kill at write %1: %2").arg(killAt).arg(state);
    }
    tally.leftovers += leftoverFiles(folder);
}

bool report(const std::vector<Case>& cases, const std::vector<Tally>& tallies) {
    std::printf(
        "| action | trials | kills | kill points reached | old | new | partial | damaged |"
        " leftover temp files |\n|---|---|---|---|---|---|---|---|---|\n");
    bool sound = true;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Tally& t = tallies[i];
        std::printf("| %s | %d | %d | %zu of %d | %d | %d | %d | %d | %d |\n",
                    qPrintable(cases[i].name), t.trials, t.kills, t.pointsReached.size(), t.points,
                    t.verdicts.count(Verdict::Old) ? t.verdicts.at(Verdict::Old) : 0,
                    t.verdicts.count(Verdict::New) ? t.verdicts.at(Verdict::New) : 0,
                    t.verdicts.count(Verdict::Partial) ? t.verdicts.at(Verdict::Partial) : 0,
                    t.verdicts.count(Verdict::Damaged) ? t.verdicts.at(Verdict::Damaged) : 0,
                    t.leftovers);
        if (!t.firstFault.isEmpty()) {
            std::printf("  %s: %s\n", qPrintable(cases[i].name), qPrintable(t.firstFault));
            sound = false;
        }
    }
    return sound;
}

struct Options {
    int trials = 1000;
    quint64 seed = std::random_device{}();
    int seconds = 0;  // no limit
};

Options parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--seed" && i + 1 < argc) {
            options.seed = QByteArray(argv[++i]).toULongLong();
        } else if (arg == "--seconds" && i + 1 < argc) {
            options.seconds = QByteArray(argv[++i]).toInt();
        } else {
            options.trials = arg.toInt();
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);
    QTemporaryDir scratch;
    const QString folder = scratch.path() + QStringLiteral("/trial");
    qputenv("DAPRA_HOME", QFile::encodeName(folder));
    std::printf("seed %llu\n", static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const std::vector<Case> cases = crashes::allCases(crashes::makeSeed(scratch.path()));
    std::vector<Tally> tallies(cases.size());
    bool sound = true;
    for (size_t i = 0; i < cases.size(); ++i) {
        sound = calibrate(cases[i], folder, tallies[i]) && sound;
    }
    std::printf("seed files and whole runs in %.1f s\n", double(clock.elapsed()) / 1000.0);
    std::mt19937_64 random(options.seed);
    // Two rounds over every action run whatever the time limit.
    const int minimum = 2 * int(cases.size());
    int done = 0;
    for (; sound && done < options.trials; ++done) {
        if (done >= minimum && options.seconds > 0 && clock.elapsed() > options.seconds * 1000LL) {
            break;
        }
        const size_t which = size_t(done) % cases.size();
        trial(cases[which], folder, random, tallies[which]);
    }
    std::printf("%d trials in %.1f s\n", done, double(clock.elapsed()) / 1000.0);
    int kills = 0;
    for (const Tally& t : tallies) {
        kills += t.kills;
    }
    sound = report(cases, tallies) && kills > 0 && sound;
    std::printf("%s\n", sound ? "every action whole or not at all" : "FAULTS FOUND");
    return sound ? 0 : 1;
}
