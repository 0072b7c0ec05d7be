#include "shell/startup.h"

#include "shell/applicationicon.h"
#include "shell/fonts.h"

#include <QGuiApplication>

void prepareApplication()
{
    QGuiApplication::setApplicationName(QStringLiteral("zuvi-taggen"));
    QGuiApplication::setDesktopFileName(QStringLiteral("com.zuvicms.TagGenerator"));
    installPageFonts();
    QGuiApplication::setWindowIcon(applicationIcon());
}
