#pragma once
#include "content/DocumentPrinter.h"

#include <QImage>
#include <QTextCharFormat>
#include <QTextEdit>
#include <optional>

class PrintProgress;
class QMenu;
class QPrinter;
class QTextBlock;
class QTextBlockFormat;

// The rich-text editing surface every command works on. Its operations carry the names the rest of
// the program uses; tri-state reads give nothing for a mixed selection. Sizes are in twips and
// colours 0x00BBGGRR at this interface. Writes that cannot be carried out throw Failure and leave
// the surface as it was; a write that changes nothing raises no Change.
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // Whole content
    QString Text() const; // lines separated by CR LF
    void setText(const QString &text);
    QByteArray TextRTF() const;
    void setTextRTF(const QByteArray &rtf);
    // Characters in the document, as SelStart and SelLength count them.
    int characterCount() const;

    // Selection
    QString SelText() const;
    void setSelText(const QString &text);
    int SelStart() const;
    void setSelStart(int position);
    int SelLength() const;
    void setSelLength(int length); // clamps to the end of the text

    // Character formatting of the selection
    std::optional<QString> SelFontName() const;
    void setSelFontName(const QString &name);
    std::optional<double> SelFontSize() const;
    void setSelFontSize(double points);
    void setSelFontSize(const QString &points); // text that reads as a number
    std::optional<bool> SelBold() const;
    void setSelBold(bool on);
    std::optional<bool> SelItalic() const;
    void setSelItalic(bool on);
    std::optional<bool> SelUnderline() const;
    void setSelUnderline(bool on);
    std::optional<bool> SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    std::optional<quint32> SelColor() const;
    void setSelColor(quint32 color);
    std::optional<int> SelCharOffset() const;
    void setSelCharOffset(int twips);
    void setSelCharOffset(const QString &twips);

    // Paragraph formatting of the paragraphs the selection touches
    enum Alignment { Left = 0, Right = 1, Center = 2, Justify = 3 };
    std::optional<int> SelAlignment() const;
    void setSelAlignment(int alignment);
    std::optional<bool> SelBullet() const;
    void setSelBullet(bool on);
    std::optional<int> SelIndent() const;
    void setSelIndent(int twips);
    void setSelIndent(const QString &twips);
    std::optional<int> SelRightIndent() const;
    void setSelRightIndent(int twips);
    void setSelRightIndent(const QString &twips);
    std::optional<int> SelFirstLineIndent() const;
    void setSelFirstLineIndent(int twips);
    void setSelFirstLineIndent(const QString &twips);

    // The whole surface
    quint32 BackColor() const;
    void setBackColor(quint32 color);
    QString FileName() const { return m_fileName; }
    void setFileName(const QString &path) { m_fileName = path; }
    void setHeight(double twips);
    void setWidth(double twips);

    // Files and printing
    enum FileType { RichText = 0, PlainText = 1 };
    void LoadFile(const QString &path, int type = RichText);
    void SaveFile(const QString &path) const;
    // Prints the selection, or the whole document when nothing is selected. A printer that prints
    // into a file makes it whole or not at all; the progress, when given, may stop the job.
    DocumentPrinter::Result SelPrint(QPrinter &printer, PrintProgress *progress = nullptr) const;

    // Inserted in place of the selection. A picture is shown at its natural size, made smaller to
    // fit a page; `original` are the file's bytes of type "png" or "jpeg", saved instead of the
    // image when given. Rich text keeps its pictures.
    void insertPicture(const QImage &image, const QByteArray &original = {}, const QString &type = {});
    void insertRichText(QByteArrayView rtf);

    // The editing messages: one operation each.
    void Undo();
    void Redo();
    void Cut() { cut(); }
    void Copy() { copy(); }
    void Paste() { paste(); }
    void Clear(); // deletes the selection only

    // The Insert key switches between inserting and overwriting typed text.
    void toggleOverwrite();

    // Zoom in percent: how large the document shows on screen, from 50 to 400. It changes neither
    // the document (its font sizes, what is saved) nor what is printed.
    int zoom() const { return m_zoom; }
    void setZoom(int percent);
    // The zoom one step above (steps > 0) or below (steps < 0) `percent`, within 50 to 400.
    static int zoomStep(int percent, int steps);

    // The text of the footnote or endnote whose reference mark is at this point of the viewport,
    // its mark first; empty when no mark is there. Resting the mouse on a mark shows it as a tooltip.
    QString noteTextAt(const QPoint &viewportPosition) const;

    // Virtual-key code and shift state of a key event, as KeyDown reports them.
    static int keyCodeOf(const QKeyEvent &event);
    static int shiftStateOf(Qt::KeyboardModifiers modifiers);

signals:
    void Change();
    void Click();
    void KeyDown(int keyCode, int shift);
    void DblClick();
    // The whole content was replaced: a file loaded, or rich or plain text set in one go.
    void Loaded();
    // The right-click menu is about to be shown at `viewportPosition`: others may add entries.
    void ContextMenu(QMenu &menu, const QPoint &viewportPosition);
    void overwriteChanged(bool overwriting);
    void zoomChanged(int percent);

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    QMimeData *createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData *source) const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    void mergeCharacterFormat(const QTextCharFormat &format);
    // The distinct character formats of the selected text, kept until the selection or the
    // document changes: a refresh and the writes' own checks read several properties in a row.
    const QList<QTextCharFormat> &selectionFormats() const;
    void mergeParagraphFormat(const QTextBlockFormat &format);
    void replaceContent(const std::function<void(QTextDocument &)> &fill);
    void loadPlainText(const QString &text);
    bool endsList(const QKeyEvent &event) const;
    void endListAtCaret();
    // A paragraph taken out of its list keeps the rest of its formatting, its characters' included.
    static void leaveList(const QTextBlock &block);
    void insertDocumentPart(const QTextDocument &part); // at the selection, with its pictures
    static int twipsFromText(const QString &text);
    bool startsWord(const QKeyEvent &event) const;
    void withLazyLayout(const std::function<void()> &step);

    QString m_fileName;
    struct SelectionFormats {
        int start = -1; // -1: to be gathered again
        int end = -1;
        QList<QTextCharFormat> formats;
    };
    mutable SelectionFormats m_selectionFormats;
    int m_zoom = 100;
    int m_wheelTurn = 0; // wheel turn not yet made into a zoom step, in eighths of a degree
    QImage m_zoomDevice; // lays the document out at the zoom's resolution
};
