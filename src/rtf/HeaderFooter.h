#pragma once
#include <QByteArray>
#include <functional>
#include <memory>

class QTextDocument;

// Headers and footers as a document keeps them (DocumentExtras::headerFooter), and which one a
// printed page shows. RTF has one for every page (\header), and may have its own for the first
// page (\headerf, shown when the document says so with \titlepg) and for left and right pages
// (\headerl, \headerr, when it says \facingp); footers alike.
class HeaderFooter
{
public:
    enum Kind { Header, HeaderLeft, HeaderRight, HeaderFirst, Footer, FooterLeft, FooterRight, FooterFirst };
    static constexpr int kKinds = 8;

    // The RTF word of a kind ("header", "footerf" ...).
    static const char *word(Kind kind);

    // The kind the given page (1-based) shows, among those the document has; -1 for none.
    static int kindForPage(const QTextDocument &doc, bool header, int page);

    // The header (or footer) of a page, ready to print: its page numbers (\chpgn and the PAGE
    // field) and page counts (NUMPAGES, SECTIONPAGES) show this page's figures. Null when the
    // page has none.
    static std::unique_ptr<QTextDocument> documentForPage(const QTextDocument &doc, bool header, int page,
                                                          int pageCount);

    // The stored RTF of a kind read into a document of its own, as it is; null when there is none.
    static std::unique_ptr<QTextDocument> document(const QTextDocument &doc, Kind kind);

    // Fills the page figures of a header or footer document in place.
    static void fillPageFields(QTextDocument &part, int page, int pageCount);
    // Fills the page figures (PAGE and NUMPAGES fields, \chpgn) of a document laid out on pages:
    // `pageAt` gives the page of a position.
    static void fillPageFields(QTextDocument &doc, const std::function<int(int position)> &pageAt, int pageCount);
};
