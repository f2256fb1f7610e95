#pragma once
#include <QColor>
#include <QHashFunctions>
#include <QString>
#include <optional>

class DocxTheme;
class DocxXml;
class QFont;
class QTextCharFormat;

// The run properties of a w:rPr (a run's, a style's or the document's defaults): each is set
// only where the element says so, so that properties merge along a style's bases and onto a run.
struct DocxRunProperties
{
    enum Script { Baseline, Superscript, Subscript };

    std::optional<QString> style; // w:rStyle, a style id
    std::optional<QString> font;
    std::optional<double> size;   // points
    std::optional<bool> bold, italic, caps, smallCaps, strike, hidden;
    std::optional<int> underline; // QTextCharFormat::UnderlineStyle
    std::optional<QString> underlineKind;
    std::optional<QColor> underlineColor;
    std::optional<QColor> color;     // invalid: automatic
    std::optional<QColor> highlight; // invalid: none
    std::optional<QColor> shading;
    std::optional<int> script;
    std::optional<double> position; // half points, up
    // Elements the program does not show, as XML (DocxKeptXml items' content), and the w:rFonts
    // as read where it says more than the family.
    QString kept;
    QString fonts;

    // Qt's underline style for a w:u kind, and the kind that stands for a style.
    static int underlineStyle(QStringView kind);
    static QString kindOfUnderline(int style);

    // Reads the children of a w:rPr; `keep` keeps what is not understood.
    void read(DocxXml &xml, const DocxTheme &theme, bool keep);
    // Properties of `over` replace these.
    void merge(const DocxRunProperties &over);
    // Sets the properties that are set on a format (family, size ... ; not hidden).
    void apply(QTextCharFormat &f, const QFont &documentFont) const;

    bool operator==(const DocxRunProperties &) const = default;
};

size_t qHash(const DocxRunProperties &p, size_t seed = 0);
