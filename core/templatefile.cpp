#include "core/templatefile.h"

#include <QFile>
#include <QStringDecoder>

namespace {

std::optional<QString> decodeStrictly(QStringDecoder decoder, QByteArrayView bytes)
{
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

} // namespace

std::optional<DecodedTemplate> decodeTemplate(const QByteArray &bytes)
{
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);
    // Stateless: a sequence cut off at the end of the file is an error, not
    // a character held back for more bytes that never come.
    if (auto text = decodeStrictly(QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless), view))
        return DecodedTemplate{*text, "UTF-8"};
    if (auto text = decodeStrictly(QStringDecoder("GB18030", QStringDecoder::Flag::Stateless), bytes))
        return DecodedTemplate{*text, "GB18030"};
    return std::nullopt;
}

std::optional<DecodedTemplate> readTemplateFile(QIODevice &device, QString *error)
{
    const QByteArray bytes = device.readAll();
    // readAll() says nothing of a failed read but through the device's error.
    if (QFileDevice *file = qobject_cast<QFileDevice *>(&device); file && file->error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("cannot read: ") + file->errorString();
        return std::nullopt;
    }
    std::optional<DecodedTemplate> decoded = decodeTemplate(bytes);
    if (!decoded && error)
        *error = QStringLiteral("cannot decode: neither UTF-8 nor GB18030");
    return decoded;
}

std::optional<DecodedTemplate> readTemplateFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("cannot read: ") + file.errorString();
        return std::nullopt;
    }
    return readTemplateFile(file, error);
}
