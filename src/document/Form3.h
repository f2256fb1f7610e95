#pragma once
#include "platform/CommonDialog.h"

#include <QWidget>

class MDIForm1;
class RichTextBox;

// The document window: one document in one rich-text surface, with its changed flag `doc` and
// the save prompt when it is asked to close.
class Form3 : public QWidget
{
    Q_OBJECT
public:
    explicit Form3(MDIForm1 &frame);

    // -1: changed since it was created, loaded or saved; 0: unchanged.
    qint16 doc = 0;
    RichTextBox *RichTextBox1;
    CommonDialog cd; // used by SaveDocumentAs only

    // The window's own save operations, used by its close prompt. True when a file was written.
    bool SaveDocument();
    bool SaveDocumentAs();

    MDIForm1 &frame() const { return m_frame; }

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    bool Form_QueryUnload(); // true: Cancel, the window stays open
    void RichTextBox1_Change();
    void RichTextBox1_Click();
    void RichTextBox1_KeyDown(int keyCode, int shift);

    MDIForm1 &m_frame;
};
