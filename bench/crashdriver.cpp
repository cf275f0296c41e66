// Kills a child process at random points of the program's writes and checks
// that every action is found whole or not at all.
//   build/bench/crash_driver [trials] [--seed N] [--seconds N]
// Of every eight trials of an action, six kill the child just before a
// randomly chosen one of its file writes, syncs, truncations, creations,
// renames or deletions (counted by tracing its system calls), one kills it
// after a random delay once it has begun the action, and one lets it run
// whole. After each kill the database must open, pass the integrity check and
// hold the state before the action or after it; db.txt must name the old path
// or the new one; a first start must leave the next start a whole install
// folder. A run left whole must hold the state after it. Every trial starts
// from a fresh trial folder and an empty temporary folder; what it leaves in
// either is counted and removed.

#include "crashcases.h"

#include "db/database.h"

#include <QCryptographicHash>
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

// The child tells the driver through started that it begins the action.
[[noreturn]] void runChild(const Case& action, const QString& trial, bool traced, int started) {
    if (traced) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
    }
    if (started >= 0) {
        const char ready = 1;
        (void)!::write(started, &ready, 1);
        ::close(started);
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
        runChild(action, trial, true, -1);
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

// Runs the action in a child and kills it delayMicros after it has begun the
// action (never when negative).
ChildRun runTimed(const Case& action, const QString& trial, qint64 delayMicros) {
    int started[2];
    if (pipe2(started, O_CLOEXEC) != 0) {
        std::perror("pipe2");
        std::exit(2);
    }
    const pid_t pid = fork();
    if (pid == 0) {
        ::close(started[0]);
        runChild(action, trial, false, started[1]);
    }
    ::close(started[1]);
    char ready = 0;
    (void)!::read(started[0], &ready, 1);
    ::close(started[0]);
    QElapsedTimer clock;
    clock.start();
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
    int whole = 0;  // runs that ended by themselves with success
    int early = 0;  // of them, runs meant to be killed that ended before
    std::set<int> pointsReached;
    std::map<Verdict, int> verdicts;
    int leftovers = 0;   // files left beside the database
    int leftInTemp = 0;  // files left in the temporary folder
    QString firstFault;

    void fault(const QString& what) {
        if (firstFault.isEmpty()) {
            firstFault = what;
        }
    }
};

// The temporary folder of the driver and its children, inside the scratch
// folder, emptied after every run.
QString& tempFolder() {
    static QString folder;
    return folder;
}

// Removes what a run left in the temporary folder; returns how many files.
int clearTempFolder() {
    QDir temp(tempFolder());
    const QStringList left = temp.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    temp.removeRecursively();
    QDir().mkpath(tempFolder());
    return int(left.size());
}

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
    clearTempFolder();
    action.prepare(trial);
    const ChildRun timed = runTimed(action, trial, -1);
    tally.micros = timed.micros;
    clearTempFolder();
    const bool sound =
        !traced.failed && !timed.failed && tally.points > 0 && tally.before != tally.after &&
        !tally.before.startsWith(QStringLiteral("damaged: integrity")) &&
        !tally.after.startsWith(QStringLiteral("damaged:")) && action.state(trial) == tally.after;
    if (!sound) {
        std::fprintf(stderr, "%s: a whole run is not sound\n  before %s\n  after %s\n",
                     qPrintable(action.name), qPrintable(tally.before), qPrintable(tally.after));
    }
    return sound;
}

// How many of an action's last writes get half the kills.
constexpr int kTailWrites = 12;

// Which run the k-th trial of an action is: of every eight, the fourth is
// killed after a delay, the eighth runs to its end, the rest are killed at a
// write.
enum class Run { AtWrite, Timed, Whole };

Run runFor(int k) {
    if (k % 8 == 7) {
        return Run::Whole;
    }
    return k % 4 == 3 ? Run::Timed : Run::AtWrite;
}

ChildRun runOnce(const Case& action, const QString& folder, std::mt19937_64& random, Tally& tally,
                 int& killAt) {
    switch (runFor(tally.trials)) {
        case Run::Whole:
            return runTraced(action, folder, 0);
        case Run::Timed:
            return runTimed(action, folder,
                            std::uniform_int_distribution<qint64>(0, tally.micros)(random));
        case Run::AtWrite:
            break;
    }
    // Half the kills fall among the last writes, where the commit lies.
    const int first = random() % 2 ? 1 : std::max(1, tally.points - kTailWrites + 1);
    killAt = int(std::uniform_int_distribution<int>(first, tally.points)(random));
    return runTraced(action, folder, killAt);
}

void trial(const Case& action, const QString& folder, std::mt19937_64& random, Tally& tally) {
    action.prepare(folder);
    int killAt = 0;
    const ChildRun run = runOnce(action, folder, random, tally, killAt);
    ++tally.trials;
    tally.kills += run.killed ? 1 : 0;
    if (run.killed && killAt > 0) {
        tally.pointsReached.insert(killAt);
    }
    const bool whole = !run.killed && !run.failed;
    tally.whole += whole ? 1 : 0;
    tally.early += whole && killAt > 0 ? 1 : 0;
    const QString state = action.state(folder);
    const Verdict verdict = crashes::judge(state, tally.before, tally.after);
    ++tally.verdicts[verdict];
    const QString at = killAt > 0 ? QStringLiteral("kill at write %1").arg(killAt)
                                  : QStringLiteral("%1 run").arg(run.killed ? "timed" : "whole");
    if (run.failed) {
        tally.fault(at + QStringLiteral(": the action failed (see above)"));
    } else if (verdict == Verdict::Partial || verdict == Verdict::Damaged) {
        tally.fault(at + QStringLiteral(": ") + state);
    } else if (whole && verdict != Verdict::New) {
        tally.fault(at + QStringLiteral(": ran to its end but changed nothing"));
    }
    tally.leftovers += leftoverFiles(folder);
    tally.leftInTemp += clearTempFolder();
}

// Below this share of kills among an action's trials, the trials no longer
// try what they are for.
bool fewKills(const Tally& t) {
    return t.kills * 2 < t.trials;
}

int count(const Tally& t, Verdict v) {
    return t.verdicts.count(v) ? t.verdicts.at(v) : 0;
}

bool report(const std::vector<Case>& cases, const std::vector<Tally>& tallies) {
    std::printf(
        "| action | trials | kills | kill points reached | ran whole | old | new | partial |"
        " damaged | files left beside / in temp |\n|---|---|---|---|---|---|---|---|---|---|\n");
    bool sound = true;
    for (size_t i = 0; i < cases.size(); ++i) {
        const Tally& t = tallies[i];
        std::printf("| %s | %d | %d | %zu of %d | %d | %d | %d | %d | %d | %d / %d |\n",
                    qPrintable(cases[i].name), t.trials, t.kills, t.pointsReached.size(), t.points,
                    t.whole, count(t, Verdict::Old), count(t, Verdict::New),
                    count(t, Verdict::Partial), count(t, Verdict::Damaged), t.leftovers,
                    t.leftInTemp);
        if (t.early > 0) {
            std::printf("  %s: %d runs ended before the write they were to be killed at\n",
                        qPrintable(cases[i].name), t.early);
        }
        if (fewKills(t)) {
            std::printf("  %s: killed midway in only %d of %d trials\n", qPrintable(cases[i].name),
                        t.kills, t.trials);
            sound = false;
        }
        if (!t.firstFault.isEmpty()) {
            std::printf("  %s: %s\n", qPrintable(cases[i].name), qPrintable(t.firstFault));
            sound = false;
        }
    }
    return sound;
}

QByteArray seedDigest(const crashes::Seed& seed) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& path :
         {seed.database, seed.smallBackup, seed.largeBackup, seed.foreignBytes}) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            hash.addData(&file);
        }
    }
    return hash.result();
}

// Removes the scratch folder's content the run made; false when something
// else is left there.
bool leavesNothing(const QString& scratch, const QString& folder, const crashes::Seed& seed) {
    QDir(folder).removeRecursively();
    QDir(tempFolder()).removeRecursively();
    for (const QString& path :
         {seed.database, seed.smallBackup, seed.largeBackup, seed.foreignBytes}) {
        QFile::remove(path);
    }
    const QStringList left =
        QDir(scratch).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    std::printf("left in the scratch folder at the end: %lld\n",
                static_cast<long long>(left.size()));
    return left.isEmpty();
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
    // The driver's and its children's temporary files, the private copies of
    // a restore among them, stay inside the scratch folder.
    tempFolder() = scratch.path() + QStringLiteral("/tmp");
    qputenv("TMPDIR", QFile::encodeName(tempFolder()));
    QDir().mkpath(tempFolder());
    if (!scratch.isValid() || QDir::tempPath() != tempFolder()) {
        std::fprintf(stderr, "no scratch folder of its own\n");
        return 2;
    }
    clearTempFolder();
    std::printf("seed %llu\n", static_cast<unsigned long long>(options.seed));
    std::fflush(stdout);
    QElapsedTimer clock;
    clock.start();
    const crashes::Seed seed = crashes::makeSeed(scratch.path());
    const QByteArray seedBefore = seedDigest(seed);
    const std::vector<Case> cases = crashes::allCases(seed);
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
    sound = report(cases, tallies) && sound;
    if (seedDigest(seed) != seedBefore) {
        std::printf("the seed files changed during the run\n");
        sound = false;
    }
    sound = leavesNothing(scratch.path(), folder, seed) && sound;
    std::printf("%s\n", sound ? "every action whole or not at all" : "FAULTS FOUND");
    return sound ? 0 : 1;
}
