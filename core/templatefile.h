#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <optional>

// Reading a template file's bytes as text. Templates are saved as UTF-8, with
// or without a byte order mark, or, by many CMS installations, as GBK; a file
// that is not valid UTF-8 is read as GB18030, which GBK is part of.
struct DecodedTemplate {
    QString text;
    const char *encoding = "UTF-8";   // "UTF-8" or "GB18030"
};

// Nothing when the bytes are neither valid UTF-8 nor valid GB18030.
std::optional<DecodedTemplate> decodeTemplate(const QByteArray &bytes);

// A template file read whole and decoded. Nothing where it cannot be read or
// decoded, with `error` saying which.
std::optional<DecodedTemplate> readTemplateFile(const QString &path, QString *error);
// The same for what is already open (standard input).
std::optional<DecodedTemplate> readTemplateFile(QIODevice &device, QString *error);
