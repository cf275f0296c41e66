#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace ui {

// A printer driven line by line: a print position in twips, a font, bold,
// texts that end the line or stay on it, and the end of the document.
class LinePrinter {
public:
    virtual ~LinePrinter() = default;
    virtual void setCurrentX(int twips) = 0;
    virtual void setCurrentY(int twips) = 0;
    virtual void setFont(const QString& name, int pointSize) = 0;
    virtual void setBold(bool bold) = 0;
    virtual void print(const QString& text, bool endLine = true) = 0;
    // Returns whether the document went out whole (see endDocument).
    virtual bool endDoc() = 0;
};

// The system's default printer. It never throws, and prints nothing when no
// printer is there; endDoc() then says the document did not go out.
std::unique_ptr<LinePrinter> defaultPrinter();

// Ends the document painted on the printer and returns whether it went out
// whole: false when painting never began, the printer failed, or the print
// system refused the job or could not be reached (a queue that rejects jobs,
// a print server that is gone).
bool endDocument(QPainter& painter, QPrinter& printer);

// One printed line as a recording printer kept it.
struct PrintedLine {
    QString text;
    QString font;
    int pointSize = 0;
    bool bold = false;
};

// Stands in for the default printer while it lives and keeps every line.
class PrintRecorder {
public:
    PrintRecorder();
    ~PrintRecorder();
    PrintRecorder(const PrintRecorder&) = delete;
    PrintRecorder& operator=(const PrintRecorder&) = delete;

    const QList<PrintedLine>& lines() const { return lines_; }
    QStringList texts() const;
    int documents() const { return documents_; }
    void clear();

    // Internal: used by the recording printer.
    void add(const PrintedLine& line) { lines_.append(line); }
    void endDocument() { ++documents_; }

private:
    QList<PrintedLine> lines_;
    int documents_ = 0;
    PrintRecorder* previous_;
};

}  // namespace ui
