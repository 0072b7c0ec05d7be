// decode-images: writes each PNG given as the pixels the program draws, so
// that the program takes them from its resources as they are instead of
// decoding PNG at every start. Run by the build (zuvi_add_decoded_images()).
//
//   decode-images <out.argb> <in.png> [<out.argb> <in.png> ...]
//
// The format, read by resourceImage() (shell/resourceimage.h): the width and
// the height as 32-bit little-endian numbers, then the rows, top first, of
// QImage::Format_ARGB32_Premultiplied pixels (4 bytes each, in the machine's
// order, no padding).

#include <QFile>
#include <QImage>
#include <QtEndian>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc < 3 || argc % 2 != 1) {
        std::fprintf(stderr, "usage: decode-images <out.argb> <in.png> [<out.argb> <in.png> ...]\n");
        return 2;
    }
    for (int i = 1; i + 1 < argc; i += 2) {
        const QImage image = QImage(QString::fromLocal8Bit(argv[i + 1])).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        if (image.isNull()) {
            std::fprintf(stderr, "decode-images: cannot read %s\n", argv[i + 1]);
            return 1;
        }
        QFile out(QString::fromLocal8Bit(argv[i]));
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            std::fprintf(stderr, "decode-images: cannot write %s\n", argv[i]);
            return 1;
        }
        uchar header[8];
        qToLittleEndian<quint32>(quint32(image.width()), header);
        qToLittleEndian<quint32>(quint32(image.height()), header + 4);
        out.write(reinterpret_cast<const char *>(header), sizeof header);
        for (int y = 0; y < image.height(); ++y)
            out.write(reinterpret_cast<const char *>(image.constScanLine(y)), qsizetype(image.width()) * 4);
        if (!out.flush()) {
            std::fprintf(stderr, "decode-images: cannot write %s\n", argv[i]);
            return 1;
        }
    }
    return 0;
}
