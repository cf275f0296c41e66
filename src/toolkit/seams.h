#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>

class QWidget;

// The program's file dialogs and clock go through here, so tests control them.
namespace ui {

struct FileDialogRequest {
    enum Kind { Open, Save } kind;
    QString caption;
    QString folder;  // the folder it opens in
    QString filter;  // in the "Description|*.ext" form
};

// Shows an open or save dialog in the folder with an empty file name; an
// empty text when the user cancels. The save dialog takes the name of an
// existing file without a question (the caller replaces it).
QString askOpenFile(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter);
QString askSaveFile(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter);

// Answers file dialogs from a script while it lives (empty once it runs out).
class FileDialogScript {
public:
    FileDialogScript();
    ~FileDialogScript();
    FileDialogScript(const FileDialogScript&) = delete;
    FileDialogScript& operator=(const FileDialogScript&) = delete;

    void answer(const QString& path) { answers_.append(path); }
    const QList<FileDialogRequest>& requests() const { return requests_; }
    QString take(const FileDialogRequest& request);

private:
    QList<QString> answers_;
    QList<FileDialogRequest> requests_;
    FileDialogScript* previous_;
};

// The current date and time of the program.
QDateTime now();

// Holds the program's clock at a fixed moment while it lives.
class FixedClock {
public:
    explicit FixedClock(const QDateTime& moment);
    ~FixedClock();
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
    void set(const QDateTime& moment) { moment_ = moment; }
    QDateTime moment() const { return moment_; }

private:
    QDateTime moment_;
    FixedClock* previous_;
};

}  // namespace ui
