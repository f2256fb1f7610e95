#pragma once
#include <QFont>
#include <QList>

class QPaintDevice;
class QTextDocument;

// Holds every font a document uses, made for the printer, for as long as a print job lasts.
// Qt's font cache lets go of the fonts nobody holds once it has many, and fonts at a printer's
// resolution are large: unheld, laying out a long document made the same fonts again paragraph
// after paragraph, which took most of the time of printing it.
class PrintFonts
{
public:
    PrintFonts(const QTextDocument &doc, const QPaintDevice &device);

private:
    QList<QFont> m_fonts;
};
