#pragma once
#include <QColor>
#include <QString>
#include <QStringList>
#include <optional>

class QPrinter;
class QWidget;

// Every modal interaction of the program goes through this interface: the real dialogs in the
// program, scripted answers in tests.
class Dialogs
{
public:
    enum class Icon { None, Critical, Question, Exclamation, Information };
    enum class Buttons { OK, OKCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
    enum class Answer { OK, Cancel, Abort, Retry, Ignore, Yes, No };

    struct Message {
        QString text;
        QString title;
        Buttons buttons = Buttons::OK;
        Icon icon = Icon::None;
        int defaultButton = 0; // 0-based index among the buttons
    };

    enum class FileMode { Open, Save };
    struct FileAsk {
        FileMode mode = FileMode::Open;
        QString title;
        QString filter; // "Description|*.a;*.b|Other|*.c" as the common dialog takes it
        int flags = 0;
        QString fileName; // starting name
    };

    struct ColorAsk {
        QString title;
        QColor initial;
        int flags = 0;
    };

    // A message box whose buttons carry texts of their own.
    struct Choice {
        QString text;
        QString title;
        QStringList buttons;
        Icon icon = Icon::None;
        int defaultButton = 0; // 0-based index among the buttons
    };

    struct PrintAsk {
        QString title;
        int flags = 0;
        QPrinter *printer = nullptr; // configured by the dialog when accepted
    };

    virtual ~Dialogs() = default;
    virtual Answer message(const Message &ask, QWidget *parent) = 0;
    // The chosen full path, or nothing when cancelled.
    virtual std::optional<QString> file(const FileAsk &ask, QWidget *parent) = 0;
    virtual std::optional<QColor> color(const ColorAsk &ask, QWidget *parent) = 0;
    // True when the user accepted; the printer is then set up as chosen.
    virtual bool print(const PrintAsk &ask, QWidget *parent) = 0;
    // The index of the button chosen, or nothing when the box was closed without an answer
    // (Escape or its close button). Dialogs that show no such boxes give no answer.
    virtual std::optional<int> choose(const Choice &ask, QWidget *parent);
};
