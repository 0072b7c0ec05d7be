#pragma once

#include <QStringView>

// Whether the CMS loads the template by itself, without any other template
// including it: index.htm, lists_*.htm, view_*.htm, and the system
// templates the catalog's template-file entries name (users_info.htm and
// the others). Judged by the file's name, in whatever folder of the theme
// it stands (a theme keeps PC and mobile templates in folders of their own).
bool isEntryTemplate(QStringView path);
