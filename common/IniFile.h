#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orv {

// The shared settings file, read and written with the profile-file rules that
// the administrator's tools and all three programs follow:
//  - section and key names are compared without letter case;
//  - a missing key reads as empty text (or the given default);
//  - a value is the raw bytes after the first '=' up to the end of the line,
//    blanks around it removed and one pair of enclosing quotes dropped;
//  - bytes are kept as they are (Latin-1 in, Latin-1 out), so enciphered
//    values survive a rewrite byte for byte;
//  - on write every other line, comment and section is kept, and the file is
//    replaced through a temporary file so no reader sees half a file.
// The file is read afresh on every call: three programs share it.
class IniFile {
public:
    explicit IniFile(QString path);

    const QString& path() const { return m_path; }
    bool exists() const;

    QByteArray readBytes(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& fallback = {}) const;
    // A value that is not a whole number reads as the fallback.
    int readInteger(const QString& section, const QString& key, int fallback) const;
    bool valueExists(const QString& section, const QString& key) const;
    bool sectionExists(const QString& section) const;
    QStringList keys(const QString& section) const;

    // Throws std::runtime_error with the file name when the file cannot be written.
    void writeBytes(const QString& section, const QString& key, const QByteArray& value);
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void eraseKey(const QString& section, const QString& key);

private:
    QByteArray load() const;
    void store(const QByteArray& content) const;

    QString m_path;
};

} // namespace orv
