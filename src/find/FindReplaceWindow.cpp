#include "find/FindReplaceWindow.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

template <typename Control>
Control *named(Control *control, const char *name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace

FindReplaceWindow::FindReplaceWindow(QWidget &frame) : QWidget(&frame, Qt::Tool)
{
    setObjectName(QStringLiteral("FindReplace"));
    setWindowTitle(QStringLiteral("Find and Replace"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    // The window is as large as its controls and its longest message need.
    layout()->setSizeConstraint(QLayout::SetMinimumSize);
}

void FindReplaceWindow::buildControls()
{
    findWhat = named(new QLineEdit(this), "findWhat");
    replaceWith = named(new QLineEdit(this), "replaceWith");
    // Each field is named by its label, for the keyboard and for assistive tools.
    auto *findLabel = named(new QLabel(QStringLiteral("Find what:"), this), "findWhatLabel");
    findLabel->setBuddy(findWhat);
    auto *replaceLabel = named(new QLabel(QStringLiteral("Replace with:"), this), "replaceWithLabel");
    replaceLabel->setBuddy(replaceWith);
    findWhat->setAccessibleName(findLabel->text());
    replaceWith->setAccessibleName(replaceLabel->text());
    matchCase = named(new QCheckBox(QStringLiteral("Match case"), this), "matchCase");
    wholeWords = named(new QCheckBox(QStringLiteral("Whole words only"), this), "wholeWords");
    status = named(new QLabel(this), "status");
    // Wide enough for the longest message it shows, so the window never has to grow.
    status->setMinimumWidth(
        status->fontMetrics().horizontalAdvance(QStringLiteral("Passed the start of the document: continued from the end")) + 8);

    auto *fields = new QGridLayout;
    fields->addWidget(findLabel, 0, 0);
    fields->addWidget(findWhat, 0, 1);
    fields->addWidget(replaceLabel, 1, 0);
    fields->addWidget(replaceWith, 1, 1);
    fields->addWidget(matchCase, 2, 1);
    fields->addWidget(wholeWords, 3, 1);
    fields->addWidget(status, 4, 0, 1, 2);

    findNext = named(new QPushButton(QStringLiteral("Find Next"), this), "findNext");
    replace = named(new QPushButton(QStringLiteral("Replace"), this), "replace");
    replaceAll = named(new QPushButton(QStringLiteral("Replace All"), this), "replaceAll");
    closeButton = named(new QPushButton(QStringLiteral("Close"), this), "close");
    connect(closeButton, &QPushButton::clicked, this, &QWidget::close);
    connect(findWhat, &QLineEdit::returnPressed, findNext, &QPushButton::click);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {findNext, replace, replaceAll, closeButton})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto *row = new QHBoxLayout(this);
    row->addLayout(fields, 1);
    row->addLayout(buttons);
}

TextSearch::Options FindReplaceWindow::options() const
{
    return {matchCase->isChecked(), wholeWords->isChecked()};
}

void FindReplaceWindow::setOptions(TextSearch::Options options)
{
    matchCase->setChecked(options.matchCase);
    wholeWords->setChecked(options.wholeWords);
}

void FindReplaceWindow::showStatus(const QString &text) { status->setText(text); }
