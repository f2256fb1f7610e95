#pragma once
// Helpers the RTF, Word and OpenDocument tests share: looking at what a reader made, the public
// corpora read in place, and LibreOffice run over files.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace DocumentFixtures {

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

inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The files matching `pattern` in the folders of a corpus ("project/name"), in order.
inline QStringList corpusFilesIn(const QString &corpusDir, const QString &pattern)
{
    QStringList files;
    const QDir root(corpusDir);
    for (const QString &sub : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
        for (const QString &f : QDir(root.filePath(sub)).entryList({pattern}, QDir::Files, QDir::Name))
            files.append(sub + u'/' + f);
    return files;
}

inline QString soffice()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

// One soffice run over many files; a private profile, so runs side by side do not collide.
inline bool convert(const QTemporaryDir &dir, const QString &format, const QString &outDir, const QStringList &files,
                    int timeout = 600000)
{
    QProcess p;
    p.start(soffice(), QStringList{QStringLiteral("-env:UserInstallation=file://") + dir.filePath(QStringLiteral("profile")),
                                   QStringLiteral("--headless"), QStringLiteral("--convert-to"), format,
                                   QStringLiteral("--outdir"), outDir} + files);
    return p.waitForFinished(timeout) && p.exitStatus() == QProcess::NormalExit;
}

} // namespace DocumentFixtures
