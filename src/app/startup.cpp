#include "app/startup.h"

#include "app/forms.h"
#include "shell/installfolder.h"
#include "shell/moddapra.h"
#include "shell/windowrequests.h"
#include "toolkit/format.h"
#include "toolkit/translation.h"

#include <QApplication>
#include <QFont>

namespace app {

void prepareProgram() {
    QApplication::setApplicationName(QStringLiteral("Mirawe Dapra"));
    fmt::applyIndonesianLocale();
    ui::installIndonesianTexts();
    // The windows' designed sizes are made for a small sans-serif font.
    QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

    shell::setFormTable(formTable());
    try {
        install::setUpFirstRun();
    } catch (const db::Error& error) {
        moddapra::showError(error);
    }
}

}  // namespace app
