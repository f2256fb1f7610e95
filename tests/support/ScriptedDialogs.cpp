#include "support/ScriptedDialogs.h"

#include <QTest>

void ScriptedDialogs::answerMessage(Answer answer) { m_answers.emplace_back(answer); }
void ScriptedDialogs::answerFile(std::optional<QString> path) { m_answers.emplace_back(std::move(path)); }
void ScriptedDialogs::answerColor(std::optional<QColor> color) { m_answers.emplace_back(std::move(color)); }
void ScriptedDialogs::answerPrint(bool accept, std::function<void(QPrinter &)> setUp)
{
    m_answers.emplace_back(PrintAnswer{accept, std::move(setUp)});
}

void ScriptedDialogs::answerChoice(std::optional<int> button) { m_answers.emplace_back(ChoiceAnswer{button}); }
void ScriptedDialogs::throwAtNextAsk(std::exception_ptr exception) { m_answers.emplace_back(std::move(exception)); }

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_asks.clear();
}

QList<Dialogs::Message> ScriptedDialogs::messages() const
{
    QList<Message> result;
    for (const Ask &ask : m_asks)
        if (ask.kind == Kind::Message)
            result << ask.message;
    return result;
}

// GCC 12 takes the answer of an optional text for one that may be used uninitialised; it is not.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
template <typename T>
std::optional<T> ScriptedDialogs::next(const QString &what)
{
    if (!m_answers.empty() && std::holds_alternative<std::exception_ptr>(m_answers.front())) {
        const std::exception_ptr exception = std::get<std::exception_ptr>(m_answers.front());
        m_answers.pop_front();
        std::rethrow_exception(exception);
    }
    if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front())) {
        const QByteArray text = ("unexpected dialog: " + what).toUtf8();
        QTest::qFail(text.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    std::optional<T> answer(std::in_place, std::get<T>(m_answers.front()));
    m_answers.pop_front();
    return answer;
}
#pragma GCC diagnostic pop

Dialogs::Answer ScriptedDialogs::message(const Message &ask, QWidget *)
{
    m_asks.append({Kind::Message, ask, {}, {}, {}});
    return next<Answer>(QStringLiteral("message box \"%1\" (%2)").arg(ask.text, ask.title)).value_or(Answer::Cancel);
}

std::optional<QString> ScriptedDialogs::file(const FileAsk &ask, QWidget *)
{
    m_asks.append({Kind::File, {}, ask, {}, {}});
    return next<std::optional<QString>>(QStringLiteral("file dialog \"%1\"").arg(ask.title)).value_or(std::nullopt);
}

std::optional<QColor> ScriptedDialogs::color(const ColorAsk &ask, QWidget *)
{
    m_asks.append({Kind::Color, {}, {}, ask, {}});
    return next<std::optional<QColor>>(QStringLiteral("colour dialog \"%1\"").arg(ask.title)).value_or(std::nullopt);
}

bool ScriptedDialogs::print(const PrintAsk &ask, QWidget *)
{
    m_asks.append({Kind::Print, {}, {}, {}, ask});
    const std::optional<PrintAnswer> answer = next<PrintAnswer>(QStringLiteral("print dialog \"%1\"").arg(ask.title));
    if (!answer || !answer->accept)
        return false;
    if (answer->setUp && ask.printer)
        answer->setUp(*ask.printer);
    return true;
}

std::optional<int> ScriptedDialogs::choose(const Choice &ask, QWidget *)
{
    m_asks.append({Kind::Choice, {}, {}, {}, {}, ask});
    const std::optional<ChoiceAnswer> answer = next<ChoiceAnswer>(QStringLiteral("message box \"%1\" (%2)").arg(ask.text, ask.title));
    return answer ? answer->button : std::nullopt;
}
