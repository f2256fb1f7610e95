#include "formatting/ParagraphDialog.h"
#include "document/RichTextBox.h"
#include "platform/DropDownList.h"
#include "platform/Failure.h"
#include "platform/Icons.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

ParagraphDialog::ParagraphDialog(Workspace &workspace) : QDialog(&workspace.window()), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Paragraph"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    move(workspace.window().geometry().center() - rect().center());
    loadIndents();
}

void ParagraphDialog::buildControls()
{
    const auto row = [this](QLabel *&label, const char *labelName, const char *caption, DropDownList *&box,
                            const char *boxName) {
        label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(labelName));
        box = new DropDownList(QString::fromLatin1(boxName), true, this);
        box->setMinimumWidth(90);
        label->setBuddy(box);
    };
    row(leftIndentLabel, "Label1", "Left indentation :", leftIndentBox, "Combo1");
    row(rightIndentLabel, "Label2", "Right indentation :", rightIndentBox, "Combo2");
    row(firstLineLabel, "Label3", "First line :", firstLineBox, "Combo3");

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setAutoDefault(false); // Return is OK wherever the focus stands
    pictureLabel = new QLabel(this);
    pictureLabel->setObjectName(QStringLiteral("Image1"));
    pictureLabel->setPixmap(Icons::get(QStringLiteral("format-justify-left")).pixmap(32, 32));

    auto *grid = new QGridLayout(this);
    grid->addWidget(leftIndentLabel, 0, 0);
    grid->addWidget(leftIndentBox, 0, 1);
    grid->addWidget(okButton, 0, 2);
    grid->addWidget(rightIndentLabel, 1, 0);
    grid->addWidget(rightIndentBox, 1, 1);
    grid->addWidget(cancelButton, 1, 2);
    grid->addWidget(firstLineLabel, 2, 0);
    grid->addWidget(firstLineBox, 2, 1);
    grid->addWidget(pictureLabel, 2, 2, Qt::AlignCenter);
    setFixedSize(sizeHint());

    connect(okButton, &QPushButton::clicked, this, &ParagraphDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void ParagraphDialog::loadIndents()
{
    skipOnFailure([&] {
        for (int n = -500; n <= 500; ++n) {
            leftIndentBox->addEntry(QString::number(n));
            rightIndentBox->addEntry(QString::number(n));
            firstLineBox->addEntry(QString::number(n));
        }
    });
    // A measure the boxes do not offer (a mixed one, a fraction, one beyond -500 to 500) leaves
    // its box empty.
    skipOnFailure([&] {
        leftIndentBox->setText(QString::number(definite(m_workspace.activeSurface().selectionIndent())));
    });
    skipOnFailure([&] {
        rightIndentBox->setText(QString::number(definite(m_workspace.activeSurface().selectionRightIndent())));
    });
    skipOnFailure([&] {
        firstLineBox->setText(QString::number(definite(m_workspace.activeSurface().selectionFirstLineIndent())));
    });
}

void ParagraphDialog::accept()
{
    // An empty box is refused by the surface, and that measure stays as it was.
    skipOnFailure([&] { m_workspace.activeSurface().setSelectionIndent(leftIndentBox->text()); });
    skipOnFailure([&] { m_workspace.activeSurface().setSelectionRightIndent(rightIndentBox->text()); });
    skipOnFailure([&] { m_workspace.activeSurface().setSelectionFirstLineIndent(firstLineBox->text()); });
    QDialog::accept();
}

void ParagraphDialog::closeOnDeactivate() { reject(); }

void ParagraphDialog::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    // Only another window of the program takes the dialog away; switching to another program
    // leaves it open.
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) {
        const QWidget *now = QApplication::activeWindow();
        if (now && now != this)
            closeOnDeactivate();
    }
}
