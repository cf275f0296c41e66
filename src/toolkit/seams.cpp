#include "toolkit/seams.h"

#include <QFileDialog>

namespace ui {

namespace {

FileDialogScript* script = nullptr;
FixedClock* fixedClock = nullptr;

// "Database Mirawe Dapra|*.mdb" becomes "Database Mirawe Dapra (*.mdb)".
QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QChar('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        result.append(parts[i] + QStringLiteral(" (") + parts[i + 1] + QChar(')'));
    }
    return result.isEmpty() ? filter : result.join(QStringLiteral(";;"));
}

QString ask(FileDialogRequest request, QWidget* parent) {
    if (script) {
        return script->take(request);
    }
    const QString filter = qtFilter(request.filter);
    if (request.kind == FileDialogRequest::Open) {
        return QFileDialog::getOpenFileName(parent, request.caption, request.folder, filter);
    }
    return QFileDialog::getSaveFileName(parent, request.caption, request.folder, filter, nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

}  // namespace

QString askOpenFile(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter) {
    return ask({FileDialogRequest::Open, caption, folder, filter}, parent);
}

QString askSaveFile(QWidget* parent, const QString& caption, const QString& folder,
                    const QString& filter) {
    return ask({FileDialogRequest::Save, caption, folder, filter}, parent);
}

FileDialogScript::FileDialogScript() : previous_(script) {
    script = this;
}

FileDialogScript::~FileDialogScript() {
    script = previous_;
}

QString FileDialogScript::take(const FileDialogRequest& request) {
    requests_.append(request);
    return answers_.isEmpty() ? QString() : answers_.takeFirst();
}

QDateTime now() {
    return fixedClock ? fixedClock->moment() : QDateTime::currentDateTime();
}

FixedClock::FixedClock(const QDateTime& moment) : moment_(moment), previous_(fixedClock) {
    fixedClock = this;
}

FixedClock::~FixedClock() {
    fixedClock = previous_;
}

}  // namespace ui
