#include "toolkit/msgbox.h"

#include "toolkit/form.h"
#include "toolkit/keys.h"

#include <QApplication>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>

namespace ui {

const QString kAppTitle = QStringLiteral("Mirawe Dapra");

namespace {

MessageRecorder* recorder = nullptr;

QMessageBox::Icon toQt(Icon icon) {
    switch (icon) {
        case Icon::Information:
            return QMessageBox::Information;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// A box as wide as its text may still be narrower than its title: the window
// manager then cuts the title ("Inf... ion"). A spacer keeps room for the
// title and the title bar's buttons.
void keepTitleWhole(QMessageBox& mb) {
    auto* grid = qobject_cast<QGridLayout*>(mb.layout());
    if (!grid) {
        return;
    }
    QFont titleFont = mb.font();
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(mb.windowTitle()) + 160;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

Answer msgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) {
    const MessageRecord box{text, title.isEmpty() ? kAppTitle : title, icon, buttons};
    if (recorder) {
        return recorder->record(box);
    }
    keysActInOrder();
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QChar('\r'), QChar('\n'));
    // The box belongs to the window that asked (ui::modalOwner); should its
    // owner go while it is up, the box goes with it and counts as answered No.
    const QPointer<QWidget> owner = modalOwner();
    QPointer<QMessageBox> mb =
        new QMessageBox(toQt(icon), box.title, shown, QMessageBox::NoButton, owner);
    keepTitleWhole(*mb);
    QAbstractButton* no = nullptr;
    if (buttons == Buttons::YesNo) {
        mb->addButton(QStringLiteral("&Ya"), QMessageBox::YesRole);
        no = mb->addButton(QStringLiteral("&Tidak"), QMessageBox::NoRole);
        mb->setEscapeButton(no);
    } else {
        mb->addButton(QMessageBox::Ok);
    }
    // Shown as every modal window of the program is (ui::showModal), so that
    // keys typed while it opens reach it.
    mb->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    QObject::connect(mb, &QDialog::finished, &loop, &QEventLoop::quit);
    QObject::connect(mb, &QObject::destroyed, &loop, &QEventLoop::quit);
    mb->show();
    // On the screen's centre, as every modal window: its owner may not show
    // yet (a message at start-up, before the main window).
    centreOnScreen(mb);
    waitForModal(mb, [&loop, &mb] {
        if (mb->isVisible()) {
            loop.exec(QEventLoop::DialogExec);
        }
    });
    if (!mb) {
        return buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
    const bool refused = no && mb->clickedButton() == no;
    delete mb;
    // The window that asked takes the keys again, not whatever window the
    // window manager picks.
    if (owner && owner->isVisible()) {
        owner->activateWindow();
    }
    if (buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return refused ? Answer::No : Answer::Yes;
}

MessageRecorder::MessageRecorder() : previous_(recorder) {
    recorder = this;
}

MessageRecorder::~MessageRecorder() {
    recorder = previous_;
}

QStringList MessageRecorder::texts() const {
    QStringList result;
    for (const MessageRecord& box : boxes_) {
        result.append(box.text);
    }
    return result;
}

Answer MessageRecorder::record(const MessageRecord& box) {
    boxes_.append(box);
    if (hook_) {
        hook_(box);
    }
    if (box.buttons == Buttons::Ok) {
        return Answer::Ok;
    }
    return script_.isEmpty() ? Answer::No : script_.takeFirst();
}

}  // namespace ui
