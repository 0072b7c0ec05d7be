#include "shell/resourceimage.h"

#include <QFile>
#include <QResource>
#include <QtEndian>

QImage resourceImage(const QString &path)
{
    QString decodedPath = path;
    if (decodedPath.endsWith(QStringLiteral(".png"))) {
        decodedPath.chop(4);
        decodedPath += QStringLiteral(".argb");
    }
    const QResource decoded(decodedPath);
    if (decoded.isValid() && decoded.compressionAlgorithm() == QResource::NoCompression && decoded.size() >= 8) {
        // Width and height, little-endian, then the rows (tools/decodeimages.cpp).
        const uchar *data = decoded.data();
        const quint32 width = qFromLittleEndian<quint32>(data);
        const quint32 height = qFromLittleEndian<quint32>(data + 4);
        const uchar *pixels = data + 8;
        if (width > 0 && height > 0 && width <= 16384 && height <= 16384
            && decoded.size() == 8 + qint64(width) * height * 4) {
            const QImage image(pixels, int(width), int(height), int(width) * 4, QImage::Format_ARGB32_Premultiplied);
            // QImage reads its pixels as whole 32-bit words.
            return quintptr(pixels) % 4 == 0 ? image : image.copy();
        }
    }
    // Not there, QImageReader would look for it under the name of every image
    // format, loading every image plugin to list them.
    return QFile::exists(path) ? QImage(path) : QImage();
}
