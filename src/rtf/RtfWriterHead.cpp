// The head of the RTF the writer makes: tables, stylesheet, document information, page set-up, headers and footers.
#include "rtf/RtfWriter.h"
#include "rtf/DocumentExtras.h"
#include "rtf/TextFormats.h"

#include <QTextDocument>
#include <utility>

QByteArray RtfWriter::header()
{
    // What the head holds is written first, so its fonts and colours are in the tables.
    const QByteArray styles = styleSheet();
    const QByteArray info = information();
    const QByteArray document = documentWords();
    const QByteArray lists = listTables();
    QByteArray head = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n";
    head += fontTable();
    QByteArray colors = "{\\colortbl;";
    for (const QRgb rgb : std::as_const(colors_))
        colors += "\\red" + QByteArray::number(qRed(rgb)) + "\\green" + QByteArray::number(qGreen(rgb)) + "\\blue"
                + QByteArray::number(qBlue(rgb)) + ';';
    head += colors + "}\r\n";
    head += styles + lists + info + document;
    return head;
}

QByteArray RtfWriter::fontTable()
{
    if (fonts_.isEmpty())
        fontIndex(doc_.defaultFont().family());
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\fonttbl");
    for (qsizetype i = 0; i < fonts_.size(); ++i) {
        raw("{");
        word("f", i);
        word("fnil");
        word("fcharset", fonts_[i].charset);
        if (fonts_[i].codePage > 0)
            word("cpg", fonts_[i].codePage);
        needSpace_ = true;
        plainText(fonts_[i].name);
        raw(";}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
}

// The stylesheet as it was read: a whole document's every style, a part's the styles it uses
// and their bases.
QByteArray RtfWriter::styleSheet()
{
    if (!extras_ || extras_->styles().isEmpty())
        return QByteArray();
    QSet<int> wanted = stylesUsed_;
    if (mode_ == Part) {
        for (bool grew = true; grew;) {
            grew = false;
            for (const DocumentStyle &s : extras_->styles())
                if (wanted.contains(s.number) && s.basedOn >= 0 && !wanted.contains(s.basedOn)) {
                    wanted.insert(s.basedOn);
                    grew = true;
                }
        }
        if (wanted.isEmpty())
            return QByteArray();
    }
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\stylesheet");
    bool any = false;
    for (const DocumentStyle &s : extras_->styles()) {
        if (mode_ == Part && !wanted.contains(s.number))
            continue;
        QByteArray entry;
        if (writeKeptContent(s.definition, entry) && !entry.isEmpty()) {
            newline();
            raw(entry);
            any = true;
        }
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return any ? saved : QByteArray(); // styles with nothing to write leave no empty stylesheet
}

QByteArray RtfWriter::information()
{
    if (mode_ != Whole || !extras_ || extras_->info().isEmpty())
        return QByteArray();
    const DocumentInfo &info = extras_->info();
    QByteArray saved;
    std::swap(saved, out_);
    raw("{\\info");
    for (auto it = info.texts.cbegin(); it != info.texts.cend(); ++it) {
        raw("{\\" + it.key().toLatin1());
        needSpace_ = true;
        plainText(it.value());
        raw("}");
        needSpace_ = false;
    }
    for (auto it = info.dates.cbegin(); it != info.dates.cend(); ++it) {
        const QDateTime &t = it.value();
        raw("{\\" + it.key().toLatin1());
        word("yr", t.date().year());
        word("mo", t.date().month());
        word("dy", t.date().day());
        word("hr", t.time().hour());
        word("min", t.time().minute());
        word("sec", t.time().second());
        raw("}");
        needSpace_ = false;
    }
    raw("}");
    newline();
    std::swap(saved, out_);
    return saved;
}

// The rest of the head: kept groups, page set-up, note numbering, then the section with its
// headers and footers.
QByteArray RtfWriter::documentWords()
{
    if (mode_ != Whole || (!extras_ && !defaultPage_))
        return QByteArray();
    const DocumentExtras *x = extras_;
    const std::optional<PageSetup> pageSetup = x && x->pageSetup() ? x->pageSetup() : defaultPage_;
    QByteArray saved;
    std::swap(saved, out_);
    const CharState bodyState = state_;
    state_ = CharState();
    if (const auto &page = pageSetup) {
        word("paperw", page->paperWidth);
        word("paperh", page->paperHeight);
        word("margl", page->marginLeft);
        word("margr", page->marginRight);
        word("margt", page->marginTop);
        word("margb", page->marginBottom);
        if (page->landscape)
            word("landscape");
    }
    if (x && x->facingPages())
        word("facingp");
    if (const auto notes = x ? x->noteSettings() : std::nullopt) {
        static constexpr const char *kFootnote[] = {"ftnnar", "ftnnalc", "ftnnauc", "ftnnrlc", "ftnnruc", "ftnnchi"};
        static constexpr const char *kEndnote[] = {"aftnnar", "aftnnalc", "aftnnauc", "aftnnrlc", "aftnnruc", "aftnnchi"};
        static constexpr const char *kRestart[] = {"ftnrstcont", "ftnrestart", "ftnrstpg"};
        word(notes->footnotesBeneathText ? "ftntj" : "ftnbj");
        word(notes->endnotesAtSectionEnd ? "aendnotes" : "aenddoc");
        word(kFootnote[notes->footnoteFormat]);
        word(kEndnote[notes->endnoteFormat]);
        word("ftnstart", notes->footnoteStart);
        word("aftnstart", notes->endnoteStart);
        word(kRestart[notes->footnoteRestart]);
        word(notes->endnoteRestart == NoteSettings::Continuous ? "aftnrstcont" : "aftnrestart");
        word("fet", notes->noteTypes);
    }
    bool anyPart = false;
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind)
        anyPart = anyPart || (x && !x->headerFooter(HeaderFooter::Kind(kind)).isEmpty());
    if (anyPart || (x && x->titlePage()) || pageSetup) {
        word("sectd");
        if (x && x->titlePage())
            word("titlepg");
        if (const auto &page = pageSetup) { // the section's page too, which readers take first
            word("pgwsxn", page->paperWidth);
            word("pghsxn", page->paperHeight);
            word("marglsxn", page->marginLeft);
            word("margrsxn", page->marginRight);
            word("margtsxn", page->marginTop);
            word("margbsxn", page->marginBottom);
            if (page->landscape)
                word("lndscpsxn");
            word("headery", page->headerDistance);
            word("footery", page->footerDistance);
        }
    }
    if (x) {
        writeHeadersFooters(*x, false);
        // Kept groups of the head come after the headers, which a reader takes as the first ones.
        state_ = CharState();
        writeKept(x->keptHead());
    }
    styleBase_.reset();
    state_ = bodyState;
    if (!out_.isEmpty())
        newline();
    std::swap(saved, out_);
    return saved;
}

// The headers and footers of `x`, each a group of its own. One nested in a part starts from
// \plain and names its font, since it is read in whatever formatting stands where it is.
void RtfWriter::writeHeadersFooters(const DocumentExtras &x, bool nested)
{
    for (int kind = 0; kind < HeaderFooter::kKinds; ++kind) {
        const QByteArray part = x.headerFooter(HeaderFooter::Kind(kind));
        if (part.isEmpty())
            continue;
        const CharState saved = state_;
        const std::optional<CharState> savedBase = styleBase_;
        newline();
        raw("{\\");
        raw(HeaderFooter::word(HeaderFooter::Kind(kind)));
        needSpace_ = true;
        const bool savedNameFonts = std::exchange(nameFonts_, nameFonts_ || nested);
        if (nested)
            word("plain");
        state_ = afterPlain();
        styleBase_.reset();
        writePart(part);
        raw("}");
        needSpace_ = false;
        nameFonts_ = savedNameFonts;
        state_ = saved;
        styleBase_ = savedBase;
    }
}
