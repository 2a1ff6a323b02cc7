#include "platform/vcl/IniFile.h"

#include <QFile>
#include <QSaveFile>
#include <limits>
#include <stdexcept>

namespace {

QString Decode(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes);
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// A value holding a line break would add lines (and keys) of its own to the file.
QByteArray OneLine(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\r'), QLatin1Char(' '));
    v.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return v.toUtf8();
}

} // namespace

TIniFile::TIniFile(const QString& fileName) : FFileName(fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray all = f.readAll();
    if (all.isEmpty())
        return;
    if (all.contains("\r\n"))
        FLineBreak = "\r\n";
    FEndsWithBreak = all.endsWith('\n');
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0)
            end = all.size();
        QByteArray line = all.mid(start, end - start);
        if (line.endsWith('\r'))
            line.chop(1);
        FLines.push_back(line);
        start = end + 1;
    }
}

bool TIniFile::SectionName(const QByteArray& line, QString& name)
{
    const QByteArray t = line.trimmed();
    if (!t.startsWith('['))
        return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0)
        return false;
    name = Decode(t.mid(1, close - 1).trimmed());
    return true;
}

bool TIniFile::KeyName(const QByteArray& line, QString& key)
{
    const QByteArray t = line.trimmed();
    if (t.isEmpty() || t.startsWith(';') || t.startsWith('['))
        return false;
    const qsizetype eq = t.indexOf('=');
    if (eq <= 0)
        return false;
    key = Decode(t.left(eq).trimmed());
    return !key.isEmpty();
}

QByteArray TIniFile::ValueOf(const QByteArray& line)
{
    const qsizetype eq = line.indexOf('=');
    // Enclosing quotes are kept, unlike the Windows reader, so a typed value reads back as
    // it was written.
    return line.mid(eq + 1).trimmed();
}

int TIniFile::FindSection(const QString& section) const
{
    QString name;
    for (size_t i = 0; i < FLines.size(); ++i)
        if (SectionName(FLines[i], name) && SameName(name, section))
            return int(i);
    return -1;
}

int TIniFile::SectionEnd(int sectionLine) const
{
    QString name;
    size_t i = size_t(sectionLine) + 1;
    while (i < FLines.size() && !SectionName(FLines[i], name))
        ++i;
    return int(i);
}

int TIniFile::FindKey(int sectionLine, const QString& key) const
{
    if (sectionLine < 0)
        return -1;
    const int end = SectionEnd(sectionLine);
    QString name;
    for (int i = sectionLine + 1; i < end; ++i)
        if (KeyName(FLines[size_t(i)], name) && SameName(name, key))
            return i;
    return -1;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    const int line = FindKey(FindSection(section), key);
    if (line < 0)
        return def;
    QString v = Decode(ValueOf(FLines[size_t(line)]));
    if (v.size() > MaxValueLength)
        v.truncate(MaxValueLength);
    return v;
}

int TIniFile::ParseInteger(const QString& text, int def)
{
    const QString t = text.trimmed();
    bool ok = false;
    if (t.size() > 2 && t[0] == QLatin1Char('0') && (t[1] == QLatin1Char('x') || t[1] == QLatin1Char('X'))) {
        const QStringView digits = QStringView(t).mid(2);
        if (digits.startsWith(QLatin1Char('+')) || digits.startsWith(QLatin1Char('-')))
            return def;
        const qulonglong v = digits.toULongLong(&ok, 16);
        if (!ok || v > std::numeric_limits<quint32>::max())
            return def;
        return int(quint32(v));
    }
    const int v = t.toInt(&ok, 10);
    return ok ? v : def;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const int line = FindKey(FindSection(section), key);
    if (line < 0)
        return def;
    return ParseInteger(ReadString(section, key, QString()), def);
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    const QByteArray line = key.toUtf8() + '=' + OneLine(value);
    int sec = FindSection(section);
    if (sec < 0) {
        if (!FLines.empty() && !FLines.back().trimmed().isEmpty())
            FLines.emplace_back();
        FLines.push_back('[' + section.toUtf8() + ']');
        FLines.push_back(line);
        return;
    }
    const int at = FindKey(sec, key);
    if (at >= 0) {
        // Keep the name as the file spells it.
        const QByteArray& old = FLines[size_t(at)];
        FLines[size_t(at)] = old.left(old.indexOf('=')).trimmed() + '=' + OneLine(value);
        return;
    }
    // After the section's last non-blank line, so blank lines between sections stay put.
    int insert = SectionEnd(sec);
    while (insert - 1 > sec && FLines[size_t(insert - 1)].trimmed().isEmpty())
        --insert;
    FLines.insert(FLines.begin() + insert, line);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

bool TIniFile::SectionExists(const QString& section) const
{
    return FindSection(section) >= 0;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    return FindKey(FindSection(section), key) >= 0;
}

QStringList TIniFile::Sections() const
{
    QStringList result;
    QString name;
    for (const QByteArray& line : FLines)
        if (SectionName(line, name) && !result.contains(name, Qt::CaseInsensitive))
            result << name;
    return result;
}

QStringList TIniFile::Keys(const QString& section) const
{
    QStringList result;
    const int sec = FindSection(section);
    if (sec < 0)
        return result;
    const int end = SectionEnd(sec);
    QString name;
    for (int i = sec + 1; i < end; ++i)
        if (KeyName(FLines[size_t(i)], name) && !result.contains(name, Qt::CaseInsensitive))
            result << name;
    return result;
}

void TIniFile::UpdateFile() const
{
    QSaveFile f(FFileName);
    // Never fall back to writing in place: that is what could leave half a file.
    f.setDirectWriteFallback(false);
    bool ok = f.open(QIODevice::WriteOnly);
    for (size_t i = 0; ok && i < FLines.size(); ++i) {
        QByteArray chunk = FLines[i];
        if (i + 1 < FLines.size() || FEndsWithBreak)
            chunk += FLineBreak;
        ok = f.write(chunk) == chunk.size();
    }
    if (!ok || !f.commit())
        throw std::runtime_error(QStringLiteral("Unable to write to %1").arg(FFileName).toStdString());
}
