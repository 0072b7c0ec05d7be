#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

class QStringEncoder;

// Command-line arguments and file names as text that keeps every byte.
//
// Qt reads them as UTF-8 on Unix whatever the locale, replacing what is not
// UTF-8: a name typed in a GB18030 locale would lose its bytes on the way to
// the file system. Here a byte that is not part of valid UTF-8 stands as the
// lone surrogate U+DC80 + (byte - 0x80), which no valid text holds, and goes
// back to that byte; valid UTF-8 reads as itself. Messages written back with
// rawBytesFromText() show such a name as the user's terminal shows it.
QString textFromRawBytes(QByteArrayView bytes);
// The text between kept bytes in UTF-8, or by `encoder` where one is given.
QByteArray rawBytesFromText(QStringView text, QStringEncoder *encoder = nullptr);

// The offset of the first byte of `bytes` that is not part of valid UTF-8;
// the size where every byte is.
qsizetype firstNonUtf8Byte(QByteArrayView bytes);
