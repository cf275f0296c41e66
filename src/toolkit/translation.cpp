#include "toolkit/translation.h"

#include <QCoreApplication>
#include <QHash>
#include <QTranslator>

namespace ui {

namespace {

// The text boxes' right-click menu reads the same in a one-line box and in a
// description box.
const QHash<QByteArray, QString>& editingWords() {
    static const QHash<QByteArray, QString> words = {
        {"&Undo", QStringLiteral("&Batalkan")},        {"&Redo", QStringLiteral("&Ulangi")},
        {"Cu&t", QStringLiteral("Po&tong")},           {"&Copy", QStringLiteral("&Salin")},
        {"&Paste", QStringLiteral("&Tempel")},         {"Delete", QStringLiteral("Hapus")},
        {"Select All", QStringLiteral("Pilih Semua")},
    };
    return words;
}

const QHash<QByteArray, QString>& windowFrameWords() {
    static const QHash<QByteArray, QString> words = {
        {"&Restore", QStringLiteral("&Pulihkan")},
        {"&Move", QStringLiteral("Pin&dahkan")},
        {"&Size", QStringLiteral("&Ukuran")},
        {"Mi&nimize", QStringLiteral("Mi&nimalkan")},
        {"Ma&ximize", QStringLiteral("Ma&ksimalkan")},
        {"Stay on &Top", QStringLiteral("&Selalu di Atas")},
        {"&Close", QStringLiteral("&Tutup")},
        {"Minimize", QStringLiteral("Minimalkan")},
        {"Maximize", QStringLiteral("Maksimalkan")},
        {"Restore Down", QStringLiteral("Pulihkan")},
        {"Restore", QStringLiteral("Pulihkan")},
        {"Close", QStringLiteral("Tutup")},
    };
    return words;
}

class IndonesianTexts : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* /*disambiguation*/,
                      int /*n*/) const override {
        const QByteArrayView from(context);
        if (from == "QMdiSubWindow") {
            return windowFrameWords().value(source);
        }
        if (from == "QLineEdit" || from == "QWidgetTextControl") {
            return editingWords().value(source);
        }
        return {};
    }
};

}  // namespace

void installIndonesianTexts() {
    [[maybe_unused]] static const bool installed =
        QCoreApplication::installTranslator(new IndonesianTexts(qApp));
}

}  // namespace ui
