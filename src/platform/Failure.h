#pragma once
#include <QString>
#include <exception>
#include <optional>
#include <utility>

// An operation that cannot be carried out: a refused surface write, no active document, a file
// that cannot be read. Handlers decide, visibly, whether a failing step is skipped or ends them.
class Failure : public std::exception
{
public:
    explicit Failure(QString message, QString reason = QString())
        : m_message(std::move(message)), m_reason(std::move(reason)), m_utf8(m_message.toUtf8()) {}
    const QString &message() const { return m_message; }
    // The reason alone, without the file or operation the message names; the message when none.
    const QString &reason() const { return m_reason.isEmpty() ? m_message : m_reason; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QString m_reason;
    QByteArray m_utf8;
};

// Step-by-step style: a failing step is skipped and the handler goes on with the next one.
template <typename Step>
void skipOnFailure(Step &&step)
{
    try {
        std::forward<Step>(step)();
    } catch (const Failure &) {
    }
}

// Step-by-step style for a decision: the test's value, or `whenFailed` when the test itself fails
// (the branch written directly after the test then runs).
template <typename Test>
bool testOr(Test &&test, bool whenFailed)
{
    try {
        return std::forward<Test>(test)();
    } catch (const Failure &) {
        return whenFailed;
    }
}

// Stop-at-first-failure style: the steps run until one fails; what was done stays done.
// Returns false when a step failed.
template <typename Steps>
bool stopAtFirstFailure(Steps &&steps)
{
    try {
        std::forward<Steps>(steps)();
        return true;
    } catch (const Failure &) {
        return false;
    }
}

// A tri-state (mixed) value that must become a definite one: Null cannot become text or a number.
template <typename T>
T definite(const std::optional<T> &value)
{
    if (!value)
        throw Failure(QStringLiteral("Null cannot become text"));
    return *value;
}
