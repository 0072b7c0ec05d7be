#include "shell/startup.h"

#include "core/product.h"
#include "shell/applicationicon.h"
#include "shell/fonts.h"
#include "shell/pagestyle.h"

#include <QApplication>

void prepareApplication()
{
    QGuiApplication::setApplicationName(programName());
    QGuiApplication::setDesktopFileName(QStringLiteral("com.zuvicms.TagGenerator"));
    QApplication::setStyle(new PageStyle);
    installPageFonts();
    QGuiApplication::setWindowIcon(applicationIcon());
}
