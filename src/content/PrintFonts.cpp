#include "content/PrintFonts.h"

#include <QFontMetricsF>
#include <QSet>
#include <QTextBlock>
#include <QTextDocument>

PrintFonts::PrintFonts(const QTextDocument &doc, const QPaintDevice &device)
{
    QSet<int> formatsSeen;
    QSet<QString> fontsSeen;
    auto hold = [&](const QFont &font) {
        const QFont printed(font, &device);
        if (fontsSeen.contains(printed.key()))
            return;
        fontsSeen.insert(printed.key());
        QFontMetricsF(printed, &device).height(); // loads the font into the copy held
        m_fonts.append(printed);
    };
    hold(doc.defaultFont());
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (!formatsSeen.contains(block.charFormatIndex())) {
            formatsSeen.insert(block.charFormatIndex());
            hold(block.charFormat().font()); // empty paragraphs and list markers
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (formatsSeen.contains(fragment.charFormatIndex()))
                continue;
            formatsSeen.insert(fragment.charFormatIndex());
            hold(fragment.charFormat().font());
        }
    }
}
