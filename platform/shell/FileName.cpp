#include "platform/shell/FileName.h"

namespace {

constexpr char16_t EscapeBase = 0xDC00;   // lone low surrogates U+DC80..U+DCFF hold raw bytes

bool IsEscapedByte(char16_t c)
{
    return c >= 0xDC80 && c <= 0xDCFF;
}

// Length of the valid UTF-8 sequence at p (strict: no overlong forms, no encoded
// surrogates, nothing above U+10FFFF), 0 when there is none.
int ValidSequence(const unsigned char* p, qsizetype left, char32_t& cp)
{
    const unsigned char c = p[0];
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    int len;
    char32_t min;
    if ((c & 0xE0) == 0xC0) {
        len = 2; cp = c & 0x1F; min = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3; cp = c & 0x0F; min = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4; cp = c & 0x07; min = 0x10000;
    } else {
        return 0;
    }
    if (left < len)
        return 0;
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

// A low surrogate that ends a valid pair is part of a character, not a kept byte.
bool HasEscapes(const QString& name)
{
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i)
        if (IsEscapedByte(name.at(i).unicode()) && (i == 0 || !name.at(i - 1).isHighSurrogate()))
            return true;
    return false;
}

}  // namespace

QString DecodeFileName(const QByteArray& raw)
{
    QString fast = QString::fromUtf8(raw);
    if (!fast.contains(QChar::ReplacementCharacter))
        return fast;

    QString out;
    out.reserve(raw.size());
    const auto* p = reinterpret_cast<const unsigned char*>(raw.constData());
    const qsizetype n = raw.size();
    for (qsizetype i = 0; i < n;) {
        char32_t cp = 0;
        const int len = ValidSequence(p + i, n - i, cp);
        if (len == 0) {
            out.append(QChar(char16_t(EscapeBase + p[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += len;
    }
    return out;
}

QByteArray EncodeFileName(const QString& name)
{
    if (!HasEscapes(name))
        return name.toUtf8();

    QByteArray out;
    out.reserve(name.size() * 3);
    const qsizetype n = name.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = name.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(name.at(i + 1).unicode())) {
            out.append(QString(name.constData() + i, 2).toUtf8());
            ++i;
        } else if (IsEscapedByte(c)) {
            out.append(char(c - EscapeBase));
        } else {
            out.append(QString(QChar(c)).toUtf8());
        }
    }
    return out;
}

std::filesystem::path ToFsPath(const QString& name)
{
    const QByteArray bytes = EncodeFileName(name);
    return std::filesystem::path(std::string(bytes.constData(), size_t(bytes.size())));
}

QString FromFsPath(const std::filesystem::path& path)
{
    const std::string& s = path.native();
    return DecodeFileName(QByteArray(s.data(), qsizetype(s.size())));
}

QString DisplayFileName(const QString& name)
{
    if (!HasEscapes(name))
        return name;
    QString out = name;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t c = out.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < out.size() && QChar::isLowSurrogate(out.at(i + 1).unicode()))
            ++i;
        else if (IsEscapedByte(c))
            out[i] = QChar::ReplacementCharacter;
    }
    return out;
}
