#include "platform/QtDialogs.h"
#include "platform/DialogFlags.h"

#include <QCloseEvent>
#include <QColorDialog>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace {

struct ButtonSpec {
    QMessageBox::StandardButton button;
    Dialogs::Answer answer;
};

QList<ButtonSpec> buttonsOf(Dialogs::Buttons buttons)
{
    using B = QMessageBox;
    using A = Dialogs::Answer;
    switch (buttons) {
    case Dialogs::Buttons::OK: return {{B::Ok, A::OK}};
    case Dialogs::Buttons::OKCancel: return {{B::Ok, A::OK}, {B::Cancel, A::Cancel}};
    case Dialogs::Buttons::AbortRetryIgnore: return {{B::Abort, A::Abort}, {B::Retry, A::Retry}, {B::Ignore, A::Ignore}};
    case Dialogs::Buttons::YesNoCancel: return {{B::Yes, A::Yes}, {B::No, A::No}, {B::Cancel, A::Cancel}};
    case Dialogs::Buttons::YesNo: return {{B::Yes, A::Yes}, {B::No, A::No}};
    case Dialogs::Buttons::RetryCancel: return {{B::Retry, A::Retry}, {B::Cancel, A::Cancel}};
    }
    return {{B::Ok, A::OK}};
}

QMessageBox::Icon iconOf(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::Exclamation: return QMessageBox::Warning;
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The answer a box gives when closed with its close button or Escape.
Dialogs::Answer escapeAnswer(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::OK: return Dialogs::Answer::OK;
    case Dialogs::Buttons::AbortRetryIgnore: return Dialogs::Answer::Abort;
    case Dialogs::Buttons::YesNo: return Dialogs::Answer::No;
    default: return Dialogs::Answer::Cancel;
    }
}

// A message box that Escape and its close button dismiss without choosing any of its buttons
// (a plain QMessageBox only closes that way through one of them).
class ChoiceBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel))
            reject();
        else
            QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { QDialog::closeEvent(event); }
};

} // namespace

std::optional<int> QtDialogs::choose(const Choice &ask, QWidget *parent)
{
    ChoiceBox box(iconOf(ask.icon), ask.title, ask.text, QMessageBox::NoButton, parent);
    QList<QAbstractButton *> buttons;
    for (const QString &text : ask.buttons)
        buttons << box.addButton(text, QMessageBox::ActionRole);
    if (QAbstractButton *preferred = buttons.value(ask.defaultButton))
        box.setDefaultButton(qobject_cast<QPushButton *>(preferred));
    box.exec();
    const qsizetype chosen = buttons.indexOf(box.clickedButton());
    if (chosen < 0)
        return std::nullopt;
    return int(chosen);
}

Dialogs::Answer QtDialogs::message(const Message &ask, QWidget *parent)
{
    QMessageBox box(iconOf(ask.icon), ask.title, ask.text, QMessageBox::NoButton, parent);
    const QList<ButtonSpec> specs = buttonsOf(ask.buttons);
    for (const ButtonSpec &spec : specs)
        box.addButton(spec.button);
    box.setDefaultButton(specs.value(ask.defaultButton, specs.first()).button);
    box.exec();
    const auto clicked = box.standardButton(box.clickedButton());
    for (const ButtonSpec &spec : specs)
        if (spec.button == clicked)
            return spec.answer;
    return escapeAnswer(ask.buttons);
}

QStringList QtDialogs::nameFilters(const QString &commonDialogFilter)
{
    QStringList result;
    const QStringList parts = commonDialogFilter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // A description that already shows its patterns is kept as it is.
        if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1String("(") + patterns + QLatin1String(")")))
            result << description;
        else
            result << description + QLatin1String(" (") + patterns + QLatin1Char(')');
    }
    return result;
}

std::optional<QString> QtDialogs::file(const FileAsk &ask, QWidget *parent)
{
    QFileDialog dialog(parent, ask.title);
    dialog.setNameFilters(nameFilters(ask.filter));
    if (ask.mode == FileMode::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        if (!(ask.flags & DialogFlags::OverwritePrompt))
            dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        // The open dialogs accept a typed name of a file that does not exist.
        dialog.setFileMode(QFileDialog::AnyFile);
    }
    if (!ask.fileName.isEmpty())
        dialog.selectFile(ask.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QColor> QtDialogs::color(const ColorAsk &ask, QWidget *parent)
{
    const QColor chosen = QColorDialog::getColor(ask.initial, parent, ask.title);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

bool QtDialogs::print(const PrintAsk &ask, QWidget *parent)
{
    if (!ask.printer)
        return false;
    QPrintDialog dialog(ask.printer, parent);
    dialog.setWindowTitle(ask.title);
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options.setFlag(QAbstractPrintDialog::PrintPageRange, !(ask.flags & DialogFlags::NoPageNums));
    options.setFlag(QAbstractPrintDialog::PrintSelection, (ask.flags & DialogFlags::Selection) != 0);
    dialog.setOptions(options);
    if (ask.flags & DialogFlags::Selection)
        dialog.setPrintRange(QAbstractPrintDialog::Selection);
    return dialog.exec() == QDialog::Accepted;
}
