#pragma once

#include <QComboBox>

// A drop-down whose open list is at least as wide as its longest item, so
// that long items stay readable where the closed box is narrower. The width
// is measured when the list first opens, not when the page is built.
class DropDown : public QComboBox
{
    Q_OBJECT
public:
    using QComboBox::QComboBox;

    void showPopup() override;
};
