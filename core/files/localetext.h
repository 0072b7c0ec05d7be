#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Text the system hands over in the user's locale: file names and its error
// messages. Qt 6 reads both as UTF-8 whatever the locale, but a user whose
// locale is zh_CN.GB18030 has names and messages in GB18030, and a name
// copied from elsewhere may be in no encoding at all. The locale is the one
// setlocale() chose (QCoreApplication sets it from the environment); the C
// locale counts as UTF-8, as it does for Qt.

// `bytes` in the locale's encoding; a byte that starts no character there
// shows as \xNN, so that a name that cannot be decoded is still told apart.
QString localeText(QByteArrayView bytes);

// `text` in the locale's encoding, for standard error; a byte kept raw
// (core/files/rawbytes.h) goes back as itself.
QByteArray localeBytes(QStringView text);

// The system's message for errno `error`, as strerror() says it in the
// locale.
QString systemErrorText(int error);
