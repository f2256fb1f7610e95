#include "formatting/Form4.h"
#include "document/RichTextBox.h"
#include "platform/Failure.h"
#include "platform/FontFamilies.h"
#include "workspace/FormattingRefresh.h"
#include "workspace/Workspace.h"

#include <QCheckBox>
#include <QCollator>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString Normal = QStringLiteral("Normal");
const QString Italic = QStringLiteral("Italic");
const QString Bold = QStringLiteral("Bold");
const QString BoldItalic = QStringLiteral("Bold Italic");

QString selectedText(const QListWidget &list)
{
    const QList<QListWidgetItem *> chosen = list.selectedItems();
    return chosen.isEmpty() ? QString() : chosen.first()->text();
}

} // namespace

Form4::Form4(Workspace &workspace) : QDialog(nullptr), m_workspace(workspace)
{
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Font"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    QWidget &frame = workspace.window();
    move(frame.geometry().center() - rect().center());
    // The frame is disabled while the dialog is open, so the dialog has no parent widget; it still
    // stays in front of the frame.
    winId();
    if (windowHandle() && frame.windowHandle())
        windowHandle()->setTransientParent(frame.windowHandle());
    Form_Load();
}

void Form4::buildControls()
{
    const auto column = [this](QLabel *&label, const char *caption, QLineEdit *&text, const char *textName,
                               QListWidget *&list, const char *listName, const char *labelName) {
        label = new QLabel(QString::fromLatin1(caption), this);
        label->setObjectName(QString::fromLatin1(labelName));
        text = new QLineEdit(this);
        text->setObjectName(QString::fromLatin1(textName));
        list = new QListWidget(this);
        list->setObjectName(QString::fromLatin1(listName));
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        label->setBuddy(text);
    };
    column(Label2, "Font:", Text1, "Text1", List1, "List1", "Label2");
    column(Label3, "Font style:", Text2, "Text2", List2, "List2", "Label3");
    column(Label4, "Size:", Text3, "Text3", List3, "List3", "Label4");
    List2->addItems({Normal, Italic, Bold, BoldItalic});
    List1->setMinimumWidth(180);
    List2->setFixedWidth(120);
    List3->setFixedWidth(64);
    Text2->setFixedWidth(120);
    Text3->setFixedWidth(64);

    Command1 = new QPushButton(QStringLiteral("OK"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setDefault(true);
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false); // Return is OK wherever the focus stands

    Frame2 = new QGroupBox(QStringLiteral("Effects"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Check1 = new QCheckBox(QStringLiteral("Stikeout"), Frame2);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check2 = new QCheckBox(QStringLiteral("Underline"), Frame2);
    Check2->setObjectName(QStringLiteral("Check2"));
    auto *effects = new QVBoxLayout(Frame2);
    effects->addWidget(Check1);
    effects->addWidget(Check2);
    effects->addStretch(1);

    Frame1 = new QGroupBox(QStringLiteral("Sample"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setMinimumSize(220, 60);
    QFont start(QStringLiteral("MS Sans Serif"));
    start.setPointSizeF(9.75);
    Label1->setFont(start);
    auto *sample = new QVBoxLayout(Frame1);
    sample->addWidget(Label1);

    auto *grid = new QGridLayout(this);
    grid->addWidget(Label2, 0, 0);
    grid->addWidget(Text1, 1, 0);
    grid->addWidget(List1, 2, 0);
    grid->addWidget(Label3, 0, 1);
    grid->addWidget(Text2, 1, 1);
    grid->addWidget(List2, 2, 1);
    grid->addWidget(Label4, 0, 2);
    grid->addWidget(Text3, 1, 2);
    grid->addWidget(List3, 2, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(Command1);
    buttons->addWidget(Command2);
    buttons->addStretch(1);
    grid->addLayout(buttons, 1, 3, 2, 1);
    grid->addWidget(Frame2, 3, 0);
    grid->addWidget(Frame1, 3, 1, 1, 3);
    resize(560, 380);

    connect(List1, &QListWidget::itemSelectionChanged, this, [this] { List1_Click(selectedText(*List1)); });
    connect(List2, &QListWidget::itemSelectionChanged, this, [this] { List2_Click(selectedText(*List2)); });
    connect(List3, &QListWidget::itemSelectionChanged, this, [this] { List3_Click(selectedText(*List3)); });
    connect(Check1, &QCheckBox::toggled, this, &Form4::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &Form4::Check2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form4::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form4::Command2_Click);
    // Escape and the close box end the dialog as Cancel does.
    connect(this, &QDialog::finished, this, &Form4::Form_Unload);
}

RichTextBox &Form4::surface() const { return m_workspace.activeSurface(); }

void Form4::Form_Load()
{
    const bool loaded = stopAtFirstFailure([&] {
        const RichTextBox &box = surface();
        Check1->setChecked(box.SelStrikeThru() == true);
        Check2->setChecked(box.SelUnderline() == true);
        m_frameDisabled.emplace(m_workspace.window());

        for (int size = 10; size <= 72; ++size)
            List3->addItem(QString::number(size));

        QStringList families = FontFamilies::screen();
        QCollator byName;
        byName.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(families.begin(), families.end(), byName);
        List1->addItems(families);

        // Each test overwrites the one before; a mixed value matches none of them.
        if (box.SelBold() == true)
            Text2->setText(Bold);
        if (box.SelItalic() == true)
            Text2->setText(Italic);
        if (box.SelBold() == true && box.SelItalic() == true)
            Text2->setText(BoldItalic);
        if (box.SelBold() == false && box.SelItalic() == false)
            Text2->setText(Normal);

        Text3->setText(FormattingRefresh::sizeText(definite(box.SelFontSize())));
        Text1->setText(definite(box.SelFontName()));

        QFont sample = Label1->font();
        sample.setFamily(definite(box.SelFontName()));
        sample.setPointSizeF(definite(box.SelFontSize()));
        Label1->setText(sample.family());
        Label1->setFont(sample);
        m_sampleNameKnown = true;
        m_sampleSizeKnown = true;
    });
    if (!loaded) {
        Text1->clear();
        Text2->clear();
        Text3->clear();
    }
}

void Form4::List1_Click(const QString &name)
{
    if (name.isEmpty())
        return;
    QFont sample = Label1->font();
    sample.setFamily(name);
    Label1->setText(name);
    Label1->setFont(sample);
    Text1->setText(name);
    m_sampleNameKnown = true;
}

void Form4::List2_Click(const QString &style)
{
    if (style == Bold)
        setSampleStyle(true, false);
    else if (style == Italic)
        setSampleStyle(false, true);
    else if (style == BoldItalic)
        setSampleStyle(true, true);
    else if (style == Normal)
        setSampleStyle(false, false);
    else
        return;
    Text2->setText(style);
}

void Form4::setSampleStyle(bool bold, bool italic)
{
    QFont sample = Label1->font();
    sample.setBold(bold);
    sample.setItalic(italic);
    Label1->setFont(sample);
}

void Form4::List3_Click(const QString &size)
{
    if (size.isEmpty())
        return;
    Text3->setText(size);
    QFont sample = Label1->font();
    sample.setPointSizeF(size.toDouble());
    Label1->setFont(sample);
    m_sampleSizeKnown = true;
}

void Form4::Check1_Click()
{
    QFont sample = Label1->font();
    sample.setStrikeOut(Check1->isChecked());
    Label1->setFont(sample);
}

void Form4::Check2_Click()
{
    QFont sample = Label1->font();
    sample.setUnderline(Check2->isChecked());
    Label1->setFont(sample);
}

void Form4::Command1_Click()
{
    const QFont sample = Label1->font();
    skipOnFailure([&] {
        if (m_sampleNameKnown)
            surface().setSelFontName(sample.family());
    });
    skipOnFailure([&] {
        if (m_sampleSizeKnown)
            surface().setSelFontSize(sample.pointSizeF());
    });
    skipOnFailure([&] { applyStyle(surface()); });
    // Unchecked effects write nothing: OK never takes strike-through or underline away.
    skipOnFailure([&] {
        if (Check1->isChecked())
            surface().setSelStrikeThru(true);
    });
    skipOnFailure([&] {
        if (Check2->isChecked())
            surface().setSelUnderline(true);
    });
    accept();
}

void Form4::applyStyle(RichTextBox &box)
{
    // The style box is compared exactly; any other text leaves bold and italic as they are.
    const QString style = Text2->text();
    if (style == Normal) {
        box.setSelBold(false);
        box.setSelItalic(false);
    } else if (style == Bold) {
        box.setSelBold(true);
        box.setSelItalic(false);
    } else if (style == Italic) {
        box.setSelBold(false);
        box.setSelItalic(true);
    } else if (style == BoldItalic) {
        box.setSelBold(true);
        box.setSelItalic(true);
    }
}

void Form4::Command2_Click() { reject(); }

void Form4::Form_Unload() { m_frameDisabled.reset(); }
