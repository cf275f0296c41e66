#include "toolkit/printer.h"

#include "toolkit/twips.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cups/cups.h>

namespace ui {

namespace {

PrintRecorder* recorder = nullptr;

class RecordingPrinter : public LinePrinter {
public:
    explicit RecordingPrinter(PrintRecorder& target) : target_(target) {}
    void setCurrentX(int) override {}
    void setCurrentY(int) override {}
    void setFont(const QString& name, int pointSize) override {
        font_ = name;
        size_ = pointSize;
    }
    void setBold(bool bold) override { bold_ = bold; }
    void print(const QString& text, bool endLine) override {
        pending_ += text;
        if (endLine) {
            target_.add({pending_, font_, size_, bold_});
            pending_.clear();
        }
    }
    bool endDoc() override {
        if (!pending_.isEmpty()) {
            print(QString(), true);
        }
        target_.endDocument();
        return true;
    }

private:
    PrintRecorder& target_;
    QString pending_;
    QString font_;
    int size_ = 0;
    bool bold_ = false;
};

// Paints the lines on the default printer's page, one document per endDoc().
class PagePrinter : public LinePrinter {
public:
    PagePrinter() : printer_(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution) {}

    void setCurrentX(int twips) override { x_ = twips * printer_.resolution() / kTwipsPerInch; }
    void setCurrentY(int twips) override { y_ = twips * printer_.resolution() / kTwipsPerInch; }
    void setFont(const QString& name, int pointSize) override {
        font_.setFamily(name);
        font_.setPointSize(pointSize);
    }
    void setBold(bool bold) override { font_.setBold(bold); }

    void print(const QString& text, bool endLine) override {
        if (!begin()) {
            return;
        }
        painter_.setFont(font_);
        const QFontMetrics metrics(font_, &printer_);
        // A line that would run off the paper starts a new page, at its top
        // and at the same left edge, in the same font; an empty line never
        // starts one, so a printout never ends on a blank page.
        if (!midLine_ && !text.isEmpty() && y_ > 0 && y_ + metrics.height() > printer_.height() &&
            printer_.newPage()) {
            y_ = 0;
        }
        painter_.drawText(x_, y_ + metrics.ascent(), text);
        midLine_ = !endLine;
        if (endLine) {
            x_ = 0;
            y_ += metrics.lineSpacing();
        } else {
            x_ += metrics.horizontalAdvance(text);
        }
    }

    bool endDoc() override {
        x_ = y_ = 0;
        midLine_ = false;
        return endDocument(painter_, printer_);
    }

private:
    bool begin() {
        if (painter_.isActive()) {
            return true;
        }
        if (QPrinterInfo::defaultPrinter().isNull()) {
            return false;
        }
        return painter_.begin(&printer_);
    }

    QPrinter printer_;
    QPainter painter_;
    QFont font_{QStringLiteral("Courier New"), 10};
    int x_ = 0;
    int y_ = 0;
    bool midLine_ = false;  // the last print stayed on its line
};

}  // namespace

bool endDocument(QPainter& painter, QPrinter& printer) {
    if (!painter.isActive() || !painter.end() || printer.printerState() == QPrinter::Error) {
        return false;
    }
    // Ending the document hands it to CUPS as the last request Qt makes,
    // and Qt drops the answer; CUPS keeps it as this thread's last error.
    const bool queued =
        printer.outputFormat() == QPrinter::NativeFormat && printer.outputFileName().isEmpty();
    return !queued || cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

std::unique_ptr<LinePrinter> defaultPrinter() {
    if (recorder) {
        return std::make_unique<RecordingPrinter>(*recorder);
    }
    return std::make_unique<PagePrinter>();
}

PrintRecorder::PrintRecorder() : previous_(recorder) {
    recorder = this;
}

PrintRecorder::~PrintRecorder() {
    recorder = previous_;
}

QStringList PrintRecorder::texts() const {
    QStringList result;
    for (const PrintedLine& line : lines_) {
        result.append(line.text);
    }
    return result;
}

void PrintRecorder::clear() {
    lines_.clear();
    documents_ = 0;
}

}  // namespace ui
