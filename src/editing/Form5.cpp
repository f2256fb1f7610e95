#include "editing/Form5.h"
#include "document/Form3.h"
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

Form5::Form5(Workspace &workspace) : QWidget(&workspace.window(), Qt::Tool), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Input Symbols :"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    setFixedSize(sizeHint());
    if (const QScreen *screen = workspace.window().screen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

void Form5::buildControls()
{
    Label1 = new QLabel(QStringLiteral("INPUT SYMBOLS FROM YOUR SYSTEM"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Combo1 = new DropDownList(QStringLiteral("Combo1"), true, this);
    Combo1->setMinimumWidth(220);
    Combo1->setMaxVisibleItems(16);
    Command1 = new QPushButton(QStringLiteral("Insert symbol"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    auto *column = new QVBoxLayout(this);
    column->addWidget(Label1);
    column->addWidget(Combo1);
    column->addWidget(Command1);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1_Click);
}

QStringList Form5::symbols()
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

void Form5::Form_Load()
{
    skipOnFailure([&] {
        for (const QString &symbol : symbols())
            Combo1->AddItem(symbol);
    });
    skipOnFailure([&] {
        const QString last = m_workspace.services().settings.GetSetting(QStringLiteral("sy"), QStringLiteral("sya"), Combo1->Text());
        Combo1->setText(last); // a symbol that is not in the list is refused and nothing is chosen
    });
}

void Form5::Command1_Click()
{
    const QString symbol = Combo1->Text();
    skipOnFailure([&] { m_workspace.services().settings.SaveSetting(QStringLiteral("sy"), QStringLiteral("sya"), symbol); });
    // With nothing chosen there is nothing to insert, and the selection is left alone.
    if (symbol.isEmpty())
        return;
    skipOnFailure([&] { m_workspace.activeSurface().setSelText(symbol); });
}

void Form5::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            close();
    }
}
