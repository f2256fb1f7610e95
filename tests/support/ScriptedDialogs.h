#pragma once
#include "platform/Dialogs.h"

#include <QList>
#include <deque>
#include <exception>
#include <functional>
#include <variant>

// Dialogs for tests: answers come from a queue given ahead, every ask is recorded, and an ask the
// test did not script (or one of another kind than the next answer) fails the test.
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, File, Color, Print, Choice };
    struct Ask {
        Kind kind;
        Message message;
        FileAsk file;
        ColorAsk color;
        PrintAsk print;
        Dialogs::Choice choice = {};
    };

    void answerMessage(Answer answer);
    void answerFile(std::optional<QString> path); // nothing: the user cancels
    void answerColor(std::optional<QColor> color); // nothing: the user cancels
    // Accepting may set up the printer, e.g. to print into a PDF file.
    void answerPrint(bool accept, std::function<void(QPrinter &)> setUp = {});
    void answerChoice(std::optional<int> button); // nothing: the box is closed without an answer
    // The next ask, of whatever kind, throws the exception (a library failing under a command).
    void throwAtNextAsk(std::exception_ptr exception);

    const QList<Ask> &asks() const { return m_asks; }
    const Ask &lastAsk() const { return m_asks.constLast(); }
    QList<Message> messages() const;
    int unusedAnswers() const { return int(m_answers.size()); }
    void clear();

    Answer message(const Message &ask, QWidget *parent) override;
    std::optional<QString> file(const FileAsk &ask, QWidget *parent) override;
    std::optional<QColor> color(const ColorAsk &ask, QWidget *parent) override;
    bool print(const PrintAsk &ask, QWidget *parent) override;
    std::optional<int> choose(const Choice &ask, QWidget *parent) override;

private:
    struct PrintAnswer {
        bool accept;
        std::function<void(QPrinter &)> setUp;
    };
    struct ChoiceAnswer {
        std::optional<int> button;
    };
    using Scripted = std::variant<Answer, std::optional<QString>, std::optional<QColor>, PrintAnswer, ChoiceAnswer,
                                  std::exception_ptr>;

    template <typename T>
    std::optional<T> next(const QString &what);

    std::deque<Scripted> m_answers;
    QList<Ask> m_asks;
};
