#pragma once
#include <QString>
#include <cstdio>

// The document a benchmark works on: its first argument. Without one it says how to run the
// benchmark and how to make the large benchmark document, and gives an empty path.
inline QString benchDocument(int argc, char **argv, const char *usage)
{
    if (argc > 1)
        return QString::fromLocal8Bit(argv[1]);
    std::fprintf(stderr,
                 "usage: %s\n"
                 "The large benchmark document (some 2,000 pages of formatted text) is made by\n"
                 "  bench/make_big_rtf.sh OUTDIR     (needs libreoffice-writer-nogui)\n"
                 "and is then OUTDIR/big.rtf.\n",
                 usage);
    return QString();
}
