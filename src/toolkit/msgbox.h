#pragma once

#include <QList>
#include <QString>

#include <functional>

namespace ui {

enum class Buttons { Ok, YesNo };
enum class Icon { None, Information, Exclamation };
enum class Answer { Ok, Yes, No };

// The application's title, shown by every box that has no title of its own.
extern const QString kAppTitle;

// The program's one message box. A carriage return in the text starts a new
// line; an empty title shows the application's title.
Answer msgBox(const QString& text, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
              const QString& title = QString());

// What one box showed; the title as shown (never empty).
struct MessageRecord {
    QString text;
    QString title;
    Icon icon;
    Buttons buttons;
};

// Replaces the real boxes while it lives: every box is kept, and questions
// are answered from a script (No once the script runs out).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void answer(Answer next) { script_.append(next); }
    // Called with each box as it shows (a test may act on the open window).
    void onShow(std::function<void(const MessageRecord&)> hook) { hook_ = std::move(hook); }

    const QList<MessageRecord>& boxes() const { return boxes_; }
    QStringList texts() const;
    const MessageRecord& last() const { return boxes_.last(); }
    bool empty() const { return boxes_.isEmpty(); }
    void clear() { boxes_.clear(); }

    Answer record(const MessageRecord& box);

private:
    QList<MessageRecord> boxes_;
    QList<Answer> script_;
    std::function<void(const MessageRecord&)> hook_;
    MessageRecorder* previous_;
};

}  // namespace ui
