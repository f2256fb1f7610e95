#include "formatting/FontDialog.h"
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

FontDialog::FontDialog(Workspace &workspace) : QDialog(nullptr), m_workspace(workspace)
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
    loadSelection();
}

void FontDialog::buildControls()
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
    column(fontLabel, "Font:", fontEdit, "Text1", fontList, "List1", "Label2");
    column(styleLabel, "Font style:", styleEdit, "Text2", styleList, "List2", "Label3");
    column(sizeLabel, "Size:", sizeEdit, "Text3", sizeList, "List3", "Label4");
    styleList->addItems({Normal, Italic, Bold, BoldItalic});
    fontList->setMinimumWidth(180);
    styleList->setFixedWidth(120);
    sizeList->setFixedWidth(64);
    styleEdit->setFixedWidth(120);
    sizeEdit->setFixedWidth(64);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("Command1"));
    okButton->setDefault(true);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton->setObjectName(QStringLiteral("Command2"));
    cancelButton->setAutoDefault(false); // Return is OK wherever the focus stands

    effectsBox = new QGroupBox(QStringLiteral("Effects"), this);
    effectsBox->setObjectName(QStringLiteral("Frame2"));
    strikeOutCheck = new QCheckBox(QStringLiteral("Stikeout"), effectsBox);
    strikeOutCheck->setObjectName(QStringLiteral("Check1"));
    underlineCheck = new QCheckBox(QStringLiteral("Underline"), effectsBox);
    underlineCheck->setObjectName(QStringLiteral("Check2"));
    auto *effects = new QVBoxLayout(effectsBox);
    effects->addWidget(strikeOutCheck);
    effects->addWidget(underlineCheck);
    effects->addStretch(1);

    sampleBox = new QGroupBox(QStringLiteral("Sample"), this);
    sampleBox->setObjectName(QStringLiteral("Frame1"));
    sampleLabel = new QLabel(sampleBox);
    sampleLabel->setObjectName(QStringLiteral("Label1"));
    sampleLabel->setAlignment(Qt::AlignCenter);
    sampleLabel->setMinimumSize(220, 60);
    QFont start(QStringLiteral("MS Sans Serif"));
    start.setPointSizeF(9.75);
    sampleLabel->setFont(start);
    auto *sample = new QVBoxLayout(sampleBox);
    sample->addWidget(sampleLabel);

    auto *grid = new QGridLayout(this);
    grid->addWidget(fontLabel, 0, 0);
    grid->addWidget(fontEdit, 1, 0);
    grid->addWidget(fontList, 2, 0);
    grid->addWidget(styleLabel, 0, 1);
    grid->addWidget(styleEdit, 1, 1);
    grid->addWidget(styleList, 2, 1);
    grid->addWidget(sizeLabel, 0, 2);
    grid->addWidget(sizeEdit, 1, 2);
    grid->addWidget(sizeList, 2, 2);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);
    buttons->addStretch(1);
    grid->addLayout(buttons, 1, 3, 2, 1);
    grid->addWidget(effectsBox, 3, 0);
    grid->addWidget(sampleBox, 3, 1, 1, 3);
    resize(560, 380);

    connect(fontList, &QListWidget::itemSelectionChanged, this, [this] { chooseFont(selectedText(*fontList)); });
    connect(styleList, &QListWidget::itemSelectionChanged, this, [this] { chooseStyle(selectedText(*styleList)); });
    connect(sizeList, &QListWidget::itemSelectionChanged, this, [this] { chooseSize(selectedText(*sizeList)); });
    connect(strikeOutCheck, &QCheckBox::toggled, this, &FontDialog::showStrikeOut);
    connect(underlineCheck, &QCheckBox::toggled, this, &FontDialog::showUnderline);
    connect(okButton, &QPushButton::clicked, this, &FontDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // Escape and the close box end the dialog as Cancel does.
    connect(this, &QDialog::finished, this, &FontDialog::enableFrame);
}

RichTextBox &FontDialog::surface() const { return m_workspace.activeSurface(); }

void FontDialog::loadSelection()
{
    const bool loaded = stopAtFirstFailure([&] {
        const RichTextBox &box = surface();
        strikeOutCheck->setChecked(box.selectionStrikeOut() == true);
        underlineCheck->setChecked(box.selectionUnderline() == true);
        m_frameDisabled.emplace(m_workspace.window());

        for (int size = 10; size <= 72; ++size)
            sizeList->addItem(QString::number(size));

        QStringList families = FontFamilies::screen();
        QCollator byName;
        byName.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(families.begin(), families.end(), byName);
        fontList->addItems(families);

        // Each test overwrites the one before; a mixed value matches none of them.
        if (box.selectionBold() == true)
            styleEdit->setText(Bold);
        if (box.selectionItalic() == true)
            styleEdit->setText(Italic);
        if (box.selectionBold() == true && box.selectionItalic() == true)
            styleEdit->setText(BoldItalic);
        if (box.selectionBold() == false && box.selectionItalic() == false)
            styleEdit->setText(Normal);

        sizeEdit->setText(FormattingRefresh::sizeText(definite(box.selectionFontSize())));
        fontEdit->setText(definite(box.selectionFontName()));

        QFont sample = sampleLabel->font();
        sample.setFamily(definite(box.selectionFontName()));
        sample.setPointSizeF(definite(box.selectionFontSize()));
        sampleLabel->setText(sample.family());
        sampleLabel->setFont(sample);
        m_sampleNameKnown = true;
        m_sampleSizeKnown = true;
    });
    if (!loaded) {
        fontEdit->clear();
        styleEdit->clear();
        sizeEdit->clear();
    }
}

void FontDialog::chooseFont(const QString &name)
{
    if (name.isEmpty())
        return;
    QFont sample = sampleLabel->font();
    sample.setFamily(name);
    sampleLabel->setText(name);
    sampleLabel->setFont(sample);
    fontEdit->setText(name);
    m_sampleNameKnown = true;
}

void FontDialog::chooseStyle(const QString &style)
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
    styleEdit->setText(style);
}

void FontDialog::setSampleStyle(bool bold, bool italic)
{
    QFont sample = sampleLabel->font();
    sample.setBold(bold);
    sample.setItalic(italic);
    sampleLabel->setFont(sample);
}

void FontDialog::chooseSize(const QString &size)
{
    if (size.isEmpty())
        return;
    sizeEdit->setText(size);
    QFont sample = sampleLabel->font();
    sample.setPointSizeF(size.toDouble());
    sampleLabel->setFont(sample);
    m_sampleSizeKnown = true;
}

void FontDialog::showStrikeOut()
{
    QFont sample = sampleLabel->font();
    sample.setStrikeOut(strikeOutCheck->isChecked());
    sampleLabel->setFont(sample);
}

void FontDialog::showUnderline()
{
    QFont sample = sampleLabel->font();
    sample.setUnderline(underlineCheck->isChecked());
    sampleLabel->setFont(sample);
}

void FontDialog::accept()
{
    const QFont sample = sampleLabel->font();
    skipOnFailure([&] {
        if (m_sampleNameKnown)
            surface().setSelectionFontName(sample.family());
    });
    skipOnFailure([&] {
        if (m_sampleSizeKnown)
            surface().setSelectionFontSize(sample.pointSizeF());
    });
    skipOnFailure([&] { applyStyle(surface()); });
    // Unchecked effects write nothing: OK never takes strike-through or underline away.
    skipOnFailure([&] {
        if (strikeOutCheck->isChecked())
            surface().setSelectionStrikeOut(true);
    });
    skipOnFailure([&] {
        if (underlineCheck->isChecked())
            surface().setSelectionUnderline(true);
    });
    QDialog::accept();
}

void FontDialog::applyStyle(RichTextBox &box)
{
    // The style box is compared exactly; any other text leaves bold and italic as they are.
    const QString style = styleEdit->text();
    if (style == Normal) {
        box.setSelectionBold(false);
        box.setSelectionItalic(false);
    } else if (style == Bold) {
        box.setSelectionBold(true);
        box.setSelectionItalic(false);
    } else if (style == Italic) {
        box.setSelectionBold(false);
        box.setSelectionItalic(true);
    } else if (style == BoldItalic) {
        box.setSelectionBold(true);
        box.setSelectionItalic(true);
    }
}

void FontDialog::enableFrame() { m_frameDisabled.reset(); }
