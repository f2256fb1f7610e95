#pragma once
#include "rtf/DocumentInfo.h"
#include "rtf/DocumentStyle.h"
#include "rtf/HeaderFooter.h"
#include "rtf/NoteSettings.h"
#include "rtf/PageSetup.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <array>
#include <optional>

class QTextDocument;

// How a QTextDocument carries a whole document, as the RTF reader makes it and the writer writes it:
//
//   text, character and paragraph formats   Qt's own formats (units and pictures: TextFormats.h)
//   paragraph direction, page breaks         QTextBlockFormat layoutDirection, pageBreakPolicy
//   lists and their levels                   QTextList per level; the lists of one RTF list share
//                                            TextFormats::kListGroupProperty; start values
//                                            kListStartProperty; a level without a number is
//                                            QTextListFormat::ListStyleUndefined (no marker)
//   tables                                   QTextTable; cell borders, shading, padding and
//                                            vertical alignment on QTextTableCellFormat, header
//                                            rows QTextTableFormat::headerRowCount, row heights
//                                            kRowHeightProperty
//   floating pictures                        a QTextFrame (FloatLeft, FloatRight, or InFlow for a
//                                            line of its own) holding the picture, before the
//                                            paragraph it stands beside; kShapeProperty
//   notes, fields, bookmarks, styles of      user properties of the character and block formats
//   runs and paragraphs, kept RTF            (TextFormats.h)
//   page set-up, headers and footers, note   this object
//   numbering, stylesheet, information
//
// Helpers for printing and editing: HeaderFooter (the header of a page, its page numbers filled
// in), Notes (a document's notes in order, a note as a document, its text for a tooltip).
//
// What a document holds beyond its text that a QTextDocument has no place for: page set-up,
// headers and footers, note settings, the stylesheet, the document information, and RTF kept from
// the head of the file. It is a child object of the QTextDocument; find() looks it up, of()
// makes it when needed. The RTF reader fills it (after clearing it) and the RTF writer writes it
// back. Character-level data (notes, fields, kept RTF, styles of runs) lives on the formats
// instead, see TextFormats.h.
//
// A document copied with QTextDocument::clone() does not take this object along; copy() does.
class DocumentExtras : public QObject
{
    Q_OBJECT

public:
    static DocumentExtras *find(const QTextDocument &doc);
    static DocumentExtras &of(QTextDocument &doc);
    static void copy(const QTextDocument &from, QTextDocument &to);

    explicit DocumentExtras(QTextDocument *doc);

    // Everything back to a document that has none of these.
    void clear();
    bool isEmpty() const;

    // Page set-up; none means the program's default page and margins.
    const std::optional<PageSetup> &pageSetup() const { return pageSetup_; }
    void setPageSetup(const std::optional<PageSetup> &setup) { pageSetup_ = setup; }

    // Headers and footers, each a standalone RTF document (empty: the document has none of that
    // kind). HeaderFooter::document() reads one into a QTextDocument; setHeaderFooter() with a
    // QTextDocument stores what an editor made of it.
    QByteArray headerFooter(HeaderFooter::Kind kind) const { return headersFooters_[kind]; }
    void setHeaderFooter(HeaderFooter::Kind kind, const QByteArray &rtf) { headersFooters_[kind] = rtf; }
    void setHeaderFooter(HeaderFooter::Kind kind, const QTextDocument &content);
    bool titlePage() const { return titlePage_; }     // the first page has its own (\titlepg)
    void setTitlePage(bool on) { titlePage_ = on; }
    bool facingPages() const { return facingPages_; } // left and right pages differ (\facingp)
    void setFacingPages(bool on) { facingPages_ = on; }

    // Note numbering; none means the defaults (footnotes 1, 2, 3 ...; endnotes i, ii, iii ...).
    const std::optional<NoteSettings> &noteSettings() const { return noteSettings_; }
    NoteSettings effectiveNoteSettings() const { return noteSettings_.value_or(NoteSettings()); }
    void setNoteSettings(const std::optional<NoteSettings> &settings) { noteSettings_ = settings; }

    // The stylesheet, in the file's order.
    const QList<DocumentStyle> &styles() const { return styles_; }
    void setStyles(const QList<DocumentStyle> &styles) { styles_ = styles; }
    // The style of a kind with this name, or null.
    const DocumentStyle *style(const QString &name, DocumentStyle::Kind kind) const;

    const DocumentInfo &info() const { return info_; }
    void setInfo(const DocumentInfo &info) { info_ = info; }

    // Kept RTF of groups from the head of the file that the program does not understand
    // (e.g. \*\userprops), written back in the head.
    const QString &keptHead() const { return keptHead_; }
    void setKeptHead(const QString &kept) { keptHead_ = kept; }

    // What a file of another format (Word, OpenDocument) held that only that format's codec reads,
    // by the format's name ("docx", "odt"): written back when the document is saved in that format
    // again. Other formats leave it alone.
    QVariant formatKept(const QString &format) const { return formatKept_.value(format); }
    void setFormatKept(const QString &format, const QVariant &kept);

private:
    std::optional<PageSetup> pageSetup_;
    std::array<QByteArray, HeaderFooter::kKinds> headersFooters_;
    bool titlePage_ = false;
    bool facingPages_ = false;
    std::optional<NoteSettings> noteSettings_;
    QList<DocumentStyle> styles_;
    DocumentInfo info_;
    QString keptHead_;
    QVariantMap formatKept_;
};
