#pragma once

#include <QImage>
#include <QString>

// The picture `path` names among the program's resources, a PNG such as
// ":/home/layout1.png". Where the build stored it decoded (as
// ":/home/layout1.argb", zuvi_add_decoded_images() in tools/CMakeLists.txt),
// the image is those pixels as they are, without a copy: decoding the home
// page's pictures and the window icon's sizes from PNG took more
// instructions at start than building the page. Otherwise the PNG, decoded;
// a null image where neither is there.
QImage resourceImage(const QString &path);
