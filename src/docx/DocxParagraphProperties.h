#pragma once
#include "docx/DocxRunProperties.h"

#include <QColor>
#include <QMap>
#include <functional>
#include <QString>
#include <optional>

class QTextBlockFormat;

// The paragraph properties of a w:pPr (a paragraph's, a style's, a numbering level's or the
// document's defaults), set only where the element says so, like DocxRunProperties. Lengths in
// twips.
struct DocxParagraphProperties
{
    enum LineRule { Auto, Exact, AtLeast };
    // A tab stop: its kind (QTextOption::TabType), or -1 where a w:tab clears one of the style's.
    using Tabs = QMap<int, int>;

    std::optional<QString> style; // w:pStyle, a style id
    std::optional<Qt::Alignment> alignment;
    std::optional<double> left, right, firstLine; // a hanging indent is a negative first line
    std::optional<double> before, after;
    std::optional<double> line;
    std::optional<int> lineRule;
    std::optional<bool> pageBreakBefore, rightToLeft;
    std::optional<int> numId, level; // w:numPr
    std::optional<int> outlineLevel; // 0 for a heading of level 1; 9 for body text
    std::optional<QColor> shading;
    Tabs tabs;
    QString kept; // elements not understood (a paragraph's own only)
    DocxRunProperties mark; // w:rPr: the paragraph mark's run properties
    bool hasSection = false; // a w:sectPr ends the section here

    // Reads the children of a w:pPr; `keep` keeps what is not understood, and `section` is given
    // the w:sectPr, when there is one.
    void read(DocxXml &xml, const DocxTheme &theme, bool keep, const std::function<void(DocxXml &)> &section = {});
    void merge(const DocxParagraphProperties &over);
    // Sets the properties that are set (not the list's indent, which the list gives).
    void apply(QTextBlockFormat &f) const;
};
