#pragma once
#include "platform/WindowDisabled.h"

#include <QDialog>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class RichTextBox;
class Workspace;

// The Font dialog: font name, size, style and the two effects of the active document's selection
// in one step, with a live sample. The frame is disabled while it is open.
class FontDialog : public QDialog
{
    Q_OBJECT
public:
    explicit FontDialog(Workspace &workspace);

    QLabel *fontLabel;
    QLineEdit *fontEdit;
    QListWidget *fontList;
    QLabel *styleLabel;
    QLineEdit *styleEdit;
    QListWidget *styleList;
    QLabel *sizeLabel;
    QLineEdit *sizeEdit;
    QListWidget *sizeList;
    QPushButton *okButton;
    QPushButton *cancelButton;
    QGroupBox *effectsBox;
    QCheckBox *strikeOutCheck;
    QCheckBox *underlineCheck;
    QGroupBox *sampleBox;
    QLabel *sampleLabel;

    // OK: the dialog's choices go to the selection, then it closes.
    void accept() override;

private:
    void buildControls();
    void loadSelection();
    void enableFrame();
    void chooseFont(const QString &name);
    void chooseStyle(const QString &style);
    void chooseSize(const QString &size);
    void showStrikeOut();
    void showUnderline();
    void applyStyle(RichTextBox &surface);
    void setSampleStyle(bool bold, bool italic);
    RichTextBox &surface() const;

    Workspace &m_workspace;
    std::optional<WindowDisabled> m_frameDisabled;
    // Whether the sample's name and size stand for something: read from the selection or chosen
    // in the lists. A mixed selection leaves them unknown, and OK then keeps the selection's own.
    bool m_sampleNameKnown = false;
    bool m_sampleSizeKnown = false;
};
