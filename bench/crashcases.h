#pragma once

#include <QString>

#include <functional>
#include <vector>

// The actions the crash driver interrupts, each done with the program's own
// functions on a trial folder, and how the folder's state is read afterwards.
namespace crashes {

// The files every trial starts from, made once per run.
struct Seed {
    QString folder;        // the run's scratch folder
    QString database;      // a restaurant with orders, payments, users and rights
    QString smallBackup;   // a backup holding the master data only
    QString largeBackup;   // a backup holding more orders than the database
    QString foreignBytes;  // a file that is no database of the program
    qint64 unpaidOrder = 0;
};

// Generates the seed files in folder. Throws db::Error.
Seed makeSeed(const QString& folder);

// One action: prepare lays out the trial folder (in the driver), act does the
// action (in the child that is killed), state reads the result (in the driver).
struct Case {
    QString name;
    std::function<void(const QString& trial)> prepare;
    std::function<void(const QString& trial)> act;
    std::function<QString(const QString& trial)> state;
};

// Every action of the run, in the order the trials take them.
std::vector<Case> allCases(const Seed& seed);

// How a state read back compares with the action's whole states.
enum class Verdict { Old, New, Partial, Damaged };

// Old or New when the state is one of the two whole ones, else Partial when
// the file is sound but holds a mix, Damaged when it does not open, fails the
// integrity check or its running totals differ from the sums over its rows.
Verdict judge(const QString& state, const QString& before, const QString& after);

}  // namespace crashes
