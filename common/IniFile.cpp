#include "IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <optional>
#include <stdexcept>
#include <vector>

namespace orv {

namespace {

// One line of the file: its text without the line end, and the line end itself.
struct Line {
    QByteArray text;
    QByteArray end;
};

std::vector<Line> splitLines(const QByteArray& content) {
    std::vector<Line> lines;
    qsizetype start = 0;
    while (start < content.size()) {
        const qsizetype lf = content.indexOf('\n', start);
        if (lf < 0) {
            lines.push_back({content.mid(start), {}});
            break;
        }
        qsizetype textEnd = lf;
        if (textEnd > start && content.at(textEnd - 1) == '\r')
            --textEnd;
        lines.push_back({content.mid(start, textEnd - start), content.mid(textEnd, lf + 1 - textEnd)});
        start = lf + 1;
    }
    return lines;
}

QByteArray joinLines(const std::vector<Line>& lines) {
    QByteArray out;
    for (const Line& line : lines)
        out += line.text + line.end;
    return out;
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimBlanks(const QByteArray& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s.at(b)))
        ++b;
    while (e > b && isBlank(s.at(e - 1)))
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QByteArray& a, const QString& b) {
    return QString::fromLatin1(a).compare(b, Qt::CaseInsensitive) == 0;
}

// "[name]" (blanks allowed around); returns the name.
std::optional<QByteArray> sectionName(const QByteArray& line) {
    const QByteArray t = trimBlanks(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return std::nullopt;
    return trimBlanks(t.mid(1, close - 1));
}

struct KeyLine {
    QByteArray key;
    QByteArray value;
};

std::optional<KeyLine> keyLine(const QByteArray& line) {
    const QByteArray t = trimBlanks(line);
    if (t.isEmpty() || t.front() == ';')
        return std::nullopt;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return std::nullopt;
    QByteArray value = trimBlanks(t.mid(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return KeyLine{trimBlanks(t.left(eq)), value};
}

// Where a key sits in the file: the line of the section header, the line of the
// key (if present) and the last non-blank line of the section.
struct Position {
    std::optional<size_t> section;
    std::optional<size_t> key;
    size_t lastContent = 0;
};

Position locate(const std::vector<Line>& lines, const QString& section, const QString& key) {
    Position pos;
    bool inside = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = sectionName(lines[i].text)) {
            if (inside)
                break; // only the first section of that name counts
            inside = sameName(*name, section);
            if (inside) {
                pos.section = i;
                pos.lastContent = i;
            }
            continue;
        }
        if (!inside)
            continue;
        if (!trimBlanks(lines[i].text).isEmpty())
            pos.lastContent = i;
        if (!key.isNull() && !pos.key) {
            if (const auto kl = keyLine(lines[i].text); kl && sameName(kl->key, key))
                pos.key = i;
        }
    }
    return pos;
}

QByteArray lineEndOf(const std::vector<Line>& lines) {
    for (const Line& line : lines)
        if (!line.end.isEmpty())
            return line.end;
    return "\n";
}

} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

bool IniFile::exists() const {
    return QFile::exists(m_path);
}

QByteArray IniFile::load() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

void IniFile::store(const QByteArray& content) const {
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw std::runtime_error("The settings file " + m_path.toStdString() +
                                 " cannot be written: " + file.errorString().toStdString());
}

QByteArray IniFile::readBytes(const QString& section, const QString& key) const {
    const auto lines = splitLines(load());
    const Position pos = locate(lines, section, key);
    if (!pos.key)
        return {};
    return keyLine(lines[*pos.key].text)->value;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& fallback) const {
    const auto lines = splitLines(load());
    const Position pos = locate(lines, section, key);
    if (!pos.key)
        return fallback;
    return QString::fromLatin1(keyLine(lines[*pos.key].text)->value);
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    bool ok = false;
    const int value = readString(section, key).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    return locate(splitLines(load()), section, key).key.has_value();
}

bool IniFile::sectionExists(const QString& section) const {
    return locate(splitLines(load()), section, {}).section.has_value();
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    bool inside = false;
    for (const Line& line : splitLines(load())) {
        if (const auto name = sectionName(line.text)) {
            if (inside)
                break;
            inside = sameName(*name, section);
            continue;
        }
        if (inside)
            if (const auto kl = keyLine(line.text))
                out << QString::fromLatin1(kl->key);
    }
    return out;
}

void IniFile::writeBytes(const QString& section, const QString& key, const QByteArray& value) {
    if (value.contains('\n') || value.contains('\r'))
        throw std::invalid_argument("A settings value cannot span lines: [" + section.toStdString() + "] " +
                                    key.toStdString());
    auto lines = splitLines(load());
    const QByteArray eol = lineEndOf(lines);
    const Position pos = locate(lines, section, key);
    if (pos.key) {
        const QByteArray old = lines[*pos.key].text;
        const qsizetype eq = old.indexOf('=');
        lines[*pos.key].text = old.left(eq + 1) + value;
    } else if (pos.section) {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(pos.lastContent + 1),
                     Line{key.toLatin1() + '=' + value, eol});
        if (lines[pos.lastContent].end.isEmpty())
            lines[pos.lastContent].end = eol;
    } else {
        if (!lines.empty() && lines.back().end.isEmpty())
            lines.back().end = eol;
        if (!lines.empty() && !trimBlanks(lines.back().text).isEmpty())
            lines.push_back({{}, eol});
        lines.push_back({'[' + section.toLatin1() + ']', eol});
        lines.push_back({key.toLatin1() + '=' + value, eol});
    }
    store(joinLines(lines));
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    writeBytes(section, key, value.toLatin1());
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeBytes(section, key, QByteArray::number(value));
}

void IniFile::eraseKey(const QString& section, const QString& key) {
    auto lines = splitLines(load());
    const Position pos = locate(lines, section, key);
    if (!pos.key)
        return;
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*pos.key));
    store(joinLines(lines));
}

} // namespace orv
