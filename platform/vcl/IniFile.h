// INI file in the Windows format, read and written by our own code: QSettings would turn a
// "General" section into its own and escape key names.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

// Holds the file as its lines, so sections, keys and comments we do not know about are written
// back byte for byte. Section and key names compare without regard to case; the first section
// and the first key of a name win, as with the Windows profile functions.
class TIniFile {
public:
    // Values longer than this are cut when read (the Windows reader's buffer).
    static constexpr int MaxValueLength = 2047;

    explicit TIniFile(const QString& fileName); // a missing or unreadable file reads as empty
    const QString& FileName() const { return FFileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    int ReadInteger(const QString& section, const QString& key, int def) const;
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Change the copy in memory; UpdateFile writes it.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);

    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    QStringList Sections() const;
    QStringList Keys(const QString& section) const;

    // Replaces the file atomically (temporary file beside it, then rename), so a crash while
    // writing leaves the old file. Throws std::runtime_error("Unable to write to <path>").
    void UpdateFile() const;

    // The integer rule of the reader: decimal with an optional sign, or "0x" + hexadecimal
    // (32 bits, wrapping to negative); anything else, or a value out of range, gives def.
    static int ParseInteger(const QString& text, int def);

private:
    int FindSection(const QString& section) const;           // index of the "[...]" line, -1
    int FindKey(int sectionLine, const QString& key) const;  // index of the key line, -1
    int SectionEnd(int sectionLine) const;                   // first line of the next section
    static bool SectionName(const QByteArray& line, QString& name);
    static bool KeyName(const QByteArray& line, QString& key);
    static QByteArray ValueOf(const QByteArray& line);

    QString FFileName;
    std::vector<QByteArray> FLines; // without their line breaks
    QByteArray FLineBreak = "\n";
    bool FEndsWithBreak = true;
};
