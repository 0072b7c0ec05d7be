#include "shell/dropdown.h"

#include <QAbstractItemView>

void DropDown::showPopup()
{
    // Room for the list's frame and scroll bar beside the longest item.
    constexpr int kListMargins = 24;
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + kListMargins);
    QComboBox::showPopup();
}
