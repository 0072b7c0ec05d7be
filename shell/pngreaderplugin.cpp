// PNG files are read without loading the system's image format plugins.
// Qt's QImageReader asks every image plugin (GIF, ICO, JPEG and its library)
// whether it reads a format for which no plugin names itself, before it takes
// its own PNG reader: loading four libraries at the first PNG, which Fusion
// reads at the first group box it draws. This plugin, built into the program,
// names itself for PNG and hands the reading to Qt's own reader.

#include <QImageIOPlugin>
#include <QImageReader>

namespace {

// Set while this plugin's reader reads, so that the reader it hands the
// reading to does not come back to this plugin but takes Qt's own.
thread_local bool handingOver = false;

class PngHandler : public QImageIOHandler
{
public:
    bool canRead() const override
    {
        if (!device() || device()->peek(8) != QByteArray("\x89PNG\r\n\x1a\n", 8))
            return false;
        setFormat("png");
        return true;
    }

    bool read(QImage *image) override
    {
        handingOver = true;
        QImageReader reader(device(), "png");
        reader.setAutoDetectImageFormat(false);
        const bool done = reader.read(image);
        handingOver = false;
        return done;
    }
};

} // namespace

class PngReaderPlugin : public QImageIOPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QImageIOHandlerFactoryInterface_iid FILE "pngreaderplugin.json")

public:
    Capabilities capabilities(QIODevice *, const QByteArray &format) const override
    {
        return !handingOver && format == "png" ? CanRead : Capabilities();
    }

    QImageIOHandler *create(QIODevice *device, const QByteArray &format) const override
    {
        auto *handler = new PngHandler;
        handler->setDevice(device);
        handler->setFormat(format);
        return handler;
    }
};

#include "pngreaderplugin.moc"
