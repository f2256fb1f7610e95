#include "formatting/Form7.h"
#include "app/Icons.h"
#include "app/MDIForm1.h"
#include "document/Form3.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

Form7::Form7(MDIForm1 &frame) : QWidget(&frame, Qt::Dialog), m_frame(frame)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    move(frame.geometry().center() - rect().center());
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
        Combo1->setText(QString::number(definite(m_frame.ActiveForm().RichTextBox1->SelIndent())));
    });
    skipOnFailure([&] {
        Combo2->setText(QString::number(definite(m_frame.ActiveForm().RichTextBox1->SelRightIndent())));
    });
    skipOnFailure([&] {
        Combo3->setText(QString::number(definite(m_frame.ActiveForm().RichTextBox1->SelFirstLineIndent())));
    });
}

void Form7::Command1_Click()
{
    // An empty box is refused by the surface, and that measure stays as it was.
    skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelIndent(Combo1->Text()); });
    skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelRightIndent(Combo2->Text()); });
    skipOnFailure([&] { m_frame.ActiveForm().RichTextBox1->setSelFirstLineIndent(Combo3->Text()); });
    close();
}

void Form7::Command2_Click() { close(); }

void Form7::Form_Deactivate() { close(); }

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

void Form7::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: Command1_Click(); break;
    case Qt::Key_Escape: Command2_Click(); break;
    default: QWidget::keyPressEvent(event);
    }
}
