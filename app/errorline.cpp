#include "app/errorline.h"

#include "core/files/localetext.h"
#include "core/product.h"

#include <cstdio>

void writeErrorLine(const QString &message)
{
    const QByteArray line = localeBytes(QString(programName() + QStringLiteral(": ") + message + u'\n'));
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}
