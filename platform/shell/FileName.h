#pragma once
// File names as the shell layer holds them. Linux file names are bytes, not text;
// a name that is not valid UTF-8 would not survive QString::fromUtf8 (nor
// QFile::decodeName, which is the same in Qt 6). Each byte of an invalid sequence is
// kept as the lone surrogate U+DC00 + byte, so the path converts back to the very
// same bytes. Use these functions, not QFile::encodeName, to open a Path of the
// listing.

#include <QByteArray>
#include <QString>
#include <filesystem>

QString DecodeFileName(const QByteArray& raw);
QByteArray EncodeFileName(const QString& name);
std::filesystem::path ToFsPath(const QString& name);
QString FromFsPath(const std::filesystem::path& path);
// For showing: the kept bytes become U+FFFD.
QString DisplayFileName(const QString& name);
