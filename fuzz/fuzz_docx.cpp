// libFuzzer entry points for the Word reader and writer; fuzz_replay.cpp drives the same
// functions without libFuzzer.
#include "DocxRoundTripCheck.h"

#include <QGuiApplication>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv); // fonts and images need one for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString problem = docxRoundTripProblem(QByteArrayView(data, qsizetype(size)));
    if (!problem.isEmpty()) {
        std::fprintf(stderr, "round trip failed: %s\n", qPrintable(problem));
        std::abort();
    }
    return 0;
}
