#pragma once
// Helpers shared by the RTF tests: read a fixture and look at what it made.
#include "rtf/RtfCodec.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

namespace RtfFixtures {

inline std::unique_ptr<QTextDocument> read(const QByteArray &rtf)
{
    auto doc = std::make_unique<QTextDocument>();
    RtfCodec::read(rtf, *doc);
    return doc;
}

// The format of the first character of the first occurrence of a word.
inline QTextCharFormat formatOf(const QTextDocument &doc, const QString &word)
{
    const QTextCursor found = doc.find(word);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor c(const_cast<QTextDocument *>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

inline QTextBlock blockOf(const QTextDocument &doc, const QString &word)
{
    const QTextCursor found = doc.find(word);
    return found.isNull() ? QTextBlock() : found.block();
}

inline QStringList blockTexts(const QTextDocument &doc)
{
    QStringList texts;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        texts.append(b.text());
    return texts;
}

inline QString corpusDir()
{
    return QStringLiteral(SCRIVLO_SHARED_DIR "/rtf-corpus");
}

inline QStringList corpusFiles()
{
    QStringList files;
    const QDir root(corpusDir());
    for (const QString &sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString &f : QDir(root.filePath(sub)).entryList({QStringLiteral("*.rtf")}, QDir::Files, QDir::Name))
            files.append(sub + u'/' + f);
    return files;
}

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace RtfFixtures
