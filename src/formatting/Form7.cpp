#include "formatting/Form7.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "platform/Icons.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

Form7::Form7(Workspace &workspace) : QDialog(&workspace.window()), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    move(workspace.window().geometry().center() - rect().center());
    Form_Load();
}

void Form7::buildControls()
{
    const auto row = [this](QLabel *&label, const char *labelName, const char *caption, DropDownList *&box,
                            const char *boxName) {
        label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(labelName));
        box = new DropDownList(QString::fromLatin1(boxName), true, this);
        box->setMinimumWidth(90);
        label->setBuddy(box);
    };
    row(Label1, "Label1", "Left indentation :", Combo1, "Combo1");
    row(Label2, "Label2", "Right indentation :", Combo2, "Combo2");
    row(Label3, "Label3", "First line :", Combo3, "Combo3");

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false); // Return is OK wherever the focus stands
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(Icons::get(QStringLiteral("format-justify-left")).pixmap(32, 32));

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Combo1, 0, 1);
    grid->addWidget(Command1, 0, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(Combo2, 1, 1);
    grid->addWidget(Command2, 1, 2);
    grid->addWidget(Label3, 2, 0);
    grid->addWidget(Combo3, 2, 1);
    grid->addWidget(Image1, 2, 2, Qt::AlignCenter);
    setFixedSize(sizeHint());

    connect(Command1, &QPushButton::clicked, this, &Form7::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form7::Command2_Click);
}

void Form7::Form_Load()
{
    skipOnFailure([&] {
        for (int n = -500; n <= 500; ++n) {
            Combo1->AddItem(QString::number(n));
            Combo2->AddItem(QString::number(n));
            Combo3->AddItem(QString::number(n));
        }
    });
    // A measure the boxes do not offer (a mixed one, a fraction, one beyond -500 to 500) leaves
    // its box empty.
    skipOnFailure([&] {
        Combo1->setText(QString::number(definite(m_workspace.activeSurface().SelIndent())));
    });
    skipOnFailure([&] {
        Combo2->setText(QString::number(definite(m_workspace.activeSurface().SelRightIndent())));
    });
    skipOnFailure([&] {
        Combo3->setText(QString::number(definite(m_workspace.activeSurface().SelFirstLineIndent())));
    });
}

void Form7::Command1_Click()
{
    // An empty box is refused by the surface, and that measure stays as it was.
    skipOnFailure([&] { m_workspace.activeSurface().setSelIndent(Combo1->Text()); });
    skipOnFailure([&] { m_workspace.activeSurface().setSelRightIndent(Combo2->Text()); });
    skipOnFailure([&] { m_workspace.activeSurface().setSelFirstLineIndent(Combo3->Text()); });
    accept();
}

void Form7::Command2_Click() { reject(); }

void Form7::Form_Deactivate() { reject(); }

void Form7::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Only another window of the program takes the dialog away; switching to another program
    // leaves it open.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            Form_Deactivate();
    }
}
