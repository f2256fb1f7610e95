#pragma once
#include <QStringList>

// The headless conversion mode: scrivlo --convert-to txt|rtf [--outdir DIR] FILE...
class ConvertMode
{
public:
    static int run(const QStringList &arguments);
};
