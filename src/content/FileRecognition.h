#pragma once
#include <QByteArray>
#include <QString>
#include <optional>

// What a file holds, told from its bytes and never from its name: a document Scrivlo opens (Rich
// Text Format, a Word or OpenDocument text package, plain text in UTF-8, UTF-16 or Windows-1252),
// or something it refuses, with the reason in words for the user (an old binary Word file, a
// picture, a spreadsheet, a zip archive, binary data).
class FileRecognition
{
public:
    enum class Format { RichText, PlainText, Word, OpenDocument };

    struct Result
    {
        std::optional<Format> format; // none: refused
        QString refusal;              // why, when refused: "it is a picture (PNG), not a text document"
    };

    static Result recognise(const QByteArray &bytes);

private:
    static Result recogniseZip(const QByteArray &bytes);
    static Result recogniseCompoundFile(const QByteArray &bytes);
    static std::optional<QString> knownBinaryFormat(const QByteArray &bytes);
    static bool looksLikeBinary(const QByteArray &bytes);
};
