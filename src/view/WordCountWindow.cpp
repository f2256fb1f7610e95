#include "view/WordCountWindow.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShortcut>

namespace {

struct Row {
    const char *name;
    const char *caption;
};
constexpr Row kRows[] = {{"words", "Words:"},
                         {"characters", "Characters (with spaces):"},
                         {"charactersNoSpaces", "Characters (without spaces):"},
                         {"paragraphs", "Paragraphs:"}};
constexpr const char *kColumns[] = {"document", "selection"};

} // namespace

WordCountWindow::WordCountWindow(QWidget &frame) : QWidget(&frame, Qt::Tool)
{
    setObjectName(QStringLiteral("WordCount"));
    setWindowTitle(QStringLiteral("Word Count"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
}

void WordCountWindow::buildControls()
{
    auto *grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Document"), this), 0, 1, Qt::AlignRight);
    grid->addWidget(new QLabel(QStringLiteral("Selection"), this), 0, 2, Qt::AlignRight);
    int line = 1;
    for (const Row &row : kRows) {
        grid->addWidget(new QLabel(QString::fromLatin1(row.caption), this), line, 0);
        for (int column = 0; column < 2; ++column) {
            auto *figure = new QLabel(this);
            figure->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(kColumns[column]), QLatin1String(row.name)));
            figure->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            figure->setTextInteractionFlags(Qt::TextSelectableByMouse);
            figure->setMinimumWidth(80);
            grid->addWidget(figure, line, column + 1);
        }
        ++line;
    }
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("close"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    new QShortcut(QKeySequence(Qt::Key_Escape), this, this, &QWidget::close);
    grid->addWidget(close, line, 2);
}

void WordCountWindow::showCounts(const WordCounter::Counts &document, const WordCounter::Counts &selection)
{
    setColumn(QStringLiteral("document"), document);
    setColumn(QStringLiteral("selection"), selection);
}

void WordCountWindow::setColumn(const QString &column, const WordCounter::Counts &counts)
{
    const QLocale locale;
    const qint64 values[] = {counts.words, counts.characters, counts.charactersNoSpaces, counts.paragraphs};
    for (int i = 0; i < 4; ++i)
        findChild<QLabel *>(QStringLiteral("%1_%2").arg(column, QLatin1String(kRows[i].name)))->setText(locale.toString(values[i]));
}

QString WordCountWindow::figure(const QString &column, const QString &row) const
{
    const QLabel *label = findChild<QLabel *>(QStringLiteral("%1_%2").arg(column, row));
    return label ? label->text() : QString();
}
