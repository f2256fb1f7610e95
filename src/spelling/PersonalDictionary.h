#pragma once
#include <QSet>
#include <QString>
#include <QStringList>

// The words the user added, kept in a plain UTF-8 file, one word a line. The file is read when the
// dictionary is made and rewritten whole, atomically, on every addition.
class PersonalDictionary
{
public:
    explicit PersonalDictionary(QString path);

    const QString &path() const { return m_path; }
    const QStringList &words() const { return m_words; }
    bool contains(const QString &word) const { return m_set.contains(word); }

    // Keeps the word, and writes the file with it (and with any word another copy of the program
    // wrote there meanwhile). False when the file could not be written, with errorString() saying
    // why; the word is then kept for this run only.
    bool add(const QString &word);
    QString errorString() const { return m_error; }

private:
    static QStringList read(const QString &path);
    void keep(const QString &word);
    bool write();

    QString m_path;
    QStringList m_words;
    QSet<QString> m_set;
    QString m_error;
};
