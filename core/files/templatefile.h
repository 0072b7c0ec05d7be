#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Reading a template file's bytes as text. Templates are saved as UTF-8, with
// or without a byte order mark, or, by many CMS installations, as GBK; a file
// that is not valid UTF-8 is read as GB18030, which GBK is part of. Editors on
// Windows may save UTF-16 or UTF-32: with a byte order mark, or without one,
// seen by where their NUL bytes fall. Any other NUL byte marks a file that is
// no text.
struct DecodedTemplate {
    QString text;
    const char *encoding = "UTF-8";   // "UTF-8", "GB18030", "UTF-16LE", "UTF-16BE", "UTF-32LE" or "UTF-32BE"
    // Where the encoding was a guess the user should know of ("read as
    // GB18030: ..."); empty where the bytes leave no doubt.
    QString note;
};

// The most a template may be. A file past it is refused unread, and no more
// than one byte past it is ever read from a pipe or a file that grows:
// a link to /dev/zero among the templates costs nothing.
constexpr qint64 kMaxTemplateBytes = 16 * 1024 * 1024;
// As the limit is said in messages and in the manual.
inline constexpr const char *kMaxTemplateSize = "16 MiB";
static_assert(kMaxTemplateBytes == 16 << 20, "kMaxTemplateSize says the limit");

// Why a file of `mode` (stat()'s st_mode) is not read as a template: "not a
// regular file but a FIFO"; empty for a regular file.
QString irregularFileReason(unsigned mode);

// Nothing when the bytes are in none of these encodings, with `error` saying
// why.
std::optional<DecodedTemplate> decodeTemplate(const QByteArray &bytes, QString *error = nullptr);

// A template file read whole and decoded: `file` is its name as the system
// knows it, byte for byte. Only a regular file is read; a FIFO, a device or a
// socket is refused without waiting on it. Nothing where it cannot be read or
// decoded, with `error` saying which ("cannot read: ...", "cannot decode:
// ...").
std::optional<DecodedTemplate> readTemplateFile(const QByteArray &file, QString *error);
// The same for what is already open (standard input), read up to the limit.
std::optional<DecodedTemplate> readTemplateFile(int descriptor, QString *error);
