#include "editing/SymbolsWindow.h"
#include "document/DocumentWindow.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "workspace/Services.h"
#include "platform/SettingsStore.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QVBoxLayout>

SymbolsWindow::SymbolsWindow(Workspace &workspace) : QWidget(&workspace.window(), Qt::Tool), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Input Symbols :"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    setFixedSize(sizeHint());
    if (const QScreen *screen = workspace.window().screen())
        move(screen->availableGeometry().center() - rect().center());
    loadSymbols();
}

void SymbolsWindow::buildControls()
{
    symbolLabel = new QLabel(QStringLiteral("INPUT SYMBOLS FROM YOUR SYSTEM"), this);
    symbolLabel->setObjectName(QStringLiteral("Label1"));
    symbolList = new DropDownList(QStringLiteral("Combo1"), true, this);
    symbolList->setMinimumWidth(220);
    symbolList->setMaxVisibleItems(16);
    insertButton = new QPushButton(QStringLiteral("Insert symbol"), this);
    insertButton->setObjectName(QStringLiteral("Command1"));
    insertButton->setDefault(true);
    auto *column = new QVBoxLayout(this);
    column->addWidget(symbolLabel);
    column->addWidget(symbolList);
    column->addWidget(insertButton);
    connect(insertButton, &QPushButton::clicked, this, &SymbolsWindow::insertSymbol);
}

QStringList SymbolsWindow::symbols()
{
    QStringList result;
    for (int code = 1; code <= 255; ++code) {
        const char byte = char(code);
        QStringDecoder decoder("windows-1252");
        QString symbol = decoder.isValid() ? decoder.decode(QByteArrayView(&byte, 1)) : QString();
        if (decoder.hasError() || symbol.size() != 1 || symbol.at(0) == QChar::ReplacementCharacter)
            symbol = QString(QChar(code)); // undefined in the code page, or no decoder: the control character
        result << symbol;
    }
    return result;
}

void SymbolsWindow::loadSymbols()
{
    skipOnFailure([&] {
        for (const QString &symbol : symbols())
            symbolList->addEntry(symbol);
    });
    skipOnFailure([&] {
        const QString last = m_workspace.services().settings.setting(QStringLiteral("sy"), QStringLiteral("sya"), symbolList->text());
        symbolList->setText(last); // a symbol that is not in the list is refused and nothing is chosen
    });
}

void SymbolsWindow::insertSymbol()
{
    const QString symbol = symbolList->text();
    skipOnFailure([&] { m_workspace.services().settings.saveSetting(QStringLiteral("sy"), QStringLiteral("sya"), symbol); });
    // With nothing chosen there is nothing to insert, and the selection is left alone.
    if (symbol.isEmpty())
        return;
    skipOnFailure([&] { m_workspace.activeSurface().setSelectionText(symbol); });
}

void SymbolsWindow::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            close();
    }
}
