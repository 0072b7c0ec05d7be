#include "shell/startup.h"

#include "core/product.h"
#include "shell/applicationicon.h"
#include "shell/fonts.h"
#include "shell/pagestyle.h"

#include <QApplication>
#include <QtPlugin>

// PNG read without the system's image plugins (pngreaderplugin.cpp).
Q_IMPORT_PLUGIN(PngReaderPlugin)

void prepareApplication()
{
    QGuiApplication::setApplicationName(programName());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.zuvicms.TagGenerator"));
    QApplication::setStyle(new PageStyle);
    installPageFonts();
    QGuiApplication::setWindowIcon(applicationIcon());
}
