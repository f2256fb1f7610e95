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
// the surface as it was; a write that changes nothing raises no contentChanged().
class RichTextBox : public QTextEdit
{
    Q_OBJECT
public:
    explicit RichTextBox(QWidget *parent = nullptr);
    ~RichTextBox() override;

    // Whole content
    QString text() const; // lines separated by CR LF
    void setText(const QString &text);
    QByteArray rtf() const;
    void setRtf(const QByteArray &rtf);
    // Characters in the document, as selectionStart and selectionLength count them.
    int characterCount() const;

    // Selection
    QString selectionText() const;
    void setSelectionText(const QString &text);
    int selectionStart() const;
    void setSelectionStart(int position);
    int selectionLength() const;
    void setSelectionLength(int length); // clamps to the end of the text

    // Character formatting of the selection
    std::optional<QString> selectionFontName() const;
    void setSelectionFontName(const QString &name);
    std::optional<double> selectionFontSize() const;
    void setSelectionFontSize(double points);
    void setSelectionFontSize(const QString &points); // text that reads as a number
    std::optional<bool> selectionBold() const;
    void setSelectionBold(bool on);
    std::optional<bool> selectionItalic() const;
    void setSelectionItalic(bool on);
    std::optional<bool> selectionUnderline() const;
    void setSelectionUnderline(bool on);
    std::optional<bool> selectionStrikeOut() const;
    void setSelectionStrikeOut(bool on);
    std::optional<quint32> selectionColor() const;
    void setSelectionColor(quint32 color);
    std::optional<int> selectionCharOffset() const;
    void setSelectionCharOffset(int twips);
    void setSelectionCharOffset(const QString &twips);

    // Paragraph formatting of the paragraphs the selection touches
    enum Alignment { Left = 0, Right = 1, Center = 2, Justify = 3 };
    std::optional<int> selectionAlignment() const;
    void setSelectionAlignment(int alignment);
    std::optional<bool> selectionBullet() const;
    void setSelectionBullet(bool on);
    std::optional<int> selectionIndent() const;
    void setSelectionIndent(int twips);
    void setSelectionIndent(const QString &twips);
    std::optional<int> selectionRightIndent() const;
    void setSelectionRightIndent(int twips);
    void setSelectionRightIndent(const QString &twips);
    std::optional<int> selectionFirstLineIndent() const;
    void setSelectionFirstLineIndent(int twips);
    void setSelectionFirstLineIndent(const QString &twips);

    // The whole surface
    quint32 backColor() const;
    void setBackColor(quint32 color);
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &path) { m_fileName = path; }
    void setHeight(double twips);
    void setWidth(double twips);

    // Files and printing
    enum FileType { RichText = 0, PlainText = 1 };
    // Reads a document file, known by its content (DocumentFile); throws Failure when it cannot be
    // read or holds something that is not a document, and the surface stays as it was.
    void loadFile(const QString &path, int type = RichText);
    // The file loaded last stopped in the middle (cut short): part of it may be missing.
    bool loadedFileEndedEarly() const { return m_loadedFileEndedEarly; }
    void saveFile(const QString &path) const;
    // Prints the selection, or the whole document when nothing is selected. A printer that prints
    // into a file makes it whole or not at all; the progress, when given, may stop the job.
    DocumentPrinter::Result printSelection(QPrinter &printer, PrintProgress *progress = nullptr) const;

    // Inserted in place of the selection. A picture is shown at its natural size, made smaller to
    // fit a page; `original` are the file's bytes of type "png" or "jpeg", saved instead of the
    // image when given. Rich text keeps its pictures.
    void insertPicture(const QImage &image, const QByteArray &original = {}, const QString &type = {});
    void insertRichText(QByteArrayView rtf);

    // Undo and Redo of a change over much of a long document lay it out again lazily.
    void undoEdit();
    void redoEdit();
    void deleteSelection(); // deletes the selection only

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

    // Virtual-key code and shift state of a key event, as keyDown reports them.
    static int keyCodeOf(const QKeyEvent &event);
    static int shiftStateOf(Qt::KeyboardModifiers modifiers);

signals:
    void contentChanged();
    void clicked();
    void keyDown(int keyCode, int shift);
    void doubleClicked();
    // The whole content was replaced: a file loaded, or rich or plain text set in one go.
    void loaded();
    // The right-click menu is about to be shown at `viewportPosition`: others may add entries.
    void contextMenuRequested(QMenu &menu, const QPoint &viewportPosition);
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
    bool isPlainReturn(const QKeyEvent &event) const;
    bool endsList(const QKeyEvent &event) const;
    void newParagraphAtCaret();
    void endListAtCaret();
    // A paragraph taken out of its list keeps the rest of its formatting, its characters' included.
    static void leaveList(const QTextBlock &block);
    void insertDocumentPart(const QTextDocument &part); // at the selection, with its pictures
    static int twipsFromText(const QString &text);
    bool startsWord(const QKeyEvent &event) const;

    QString m_fileName;
    bool m_loadedFileEndedEarly = false;
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
