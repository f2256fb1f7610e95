#pragma once
// Helpers shared by the RTF tests: read a fixture and look at what it made.
#include "rtf/RtfCodec.h"
#include "support/DocumentFixtures.h"

#include <memory>

namespace RtfFixtures {

using namespace DocumentFixtures;

inline std::unique_ptr<QTextDocument> read(const QByteArray &rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    RtfCodec::read(rtf, *doc);
    return doc;
}

inline QString corpusDir()
{
    return QStringLiteral(SCRIVLO_SHARED_DIR "/rtf-corpus");
}

inline QStringList corpusFiles()
{
    return corpusFilesIn(corpusDir(), QStringLiteral("*.rtf"));
}

} // namespace RtfFixtures
