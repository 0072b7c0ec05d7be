#pragma once

#include "shell/catalogpage.h"
#include "shell/outputbox.h"
#include "core/catalog/pageview.h"
#include "app/pagefactory.h"
#include "shell/pageset.h"
#include "shell/pagewindow.h"
#include "tests/support/fakeclipboard.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextDocumentFragment>
#include <gtest/gtest.h>

// The tool as it starts: the page set with the home page shown, writing to
// the system clipboard through a fake that can refuse.
class PagesFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        QApplication::clipboard()->setText(QStringLiteral("before the test"));
        pages.start();
    }

    PageWindow *page(int number) const { return pages.page(number); }
    CatalogPage *content(int number) const { return qobject_cast<CatalogPage *>(page(number)->content()); }
    QAbstractButton *button(int number, const QString &name) const
    {
        return page(number)->findChild<QAbstractButton *>(name);
    }
    // Entry `index` of a tag page, or nullptr where the page has none.
    QAbstractButton *entry(int number, int index) const
    {
        const CatalogControl *control = content(number)->catalog().entry(qint16(index));
        return control ? content(number)->widget<QAbstractButton>(control->name) : nullptr;
    }
    // Navigates as the user does, with the visible page's own bar.
    void goTo(int number)
    {
        for (int p = kFirstPage; p <= kLastPage; ++p) {
            if (page(p) && page(p)->isVisible()) {
                page(p)->navigationButton(number)->click();
                return;
            }
        }
        FAIL() << "no page is visible";
    }
    QString outputText(int number) const { return content(number)->view().outputText(); }
    static QString clipboardText() { return QApplication::clipboard()->text(); }
    // The text of a widget's tooltip as the user reads it.
    static QString tipText(const QWidget *widget)
    {
        return QTextDocumentFragment::fromHtml(widget->toolTip()).toPlainText();
    }
    // The tooltip window on the screen, if one shows.
    static QWidget *shownTip()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (widget->inherits("QTipLabel") && widget->isVisible())
                return widget;
        }
        return nullptr;
    }
    // Clicks at the middle of a control, as the mouse would.
    static void clickOn(QWidget *widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    // Types text one character at a time as key events carrying the text;
    // works for Chinese too.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &release);
        }
    }

    FakeClipboard clipboard;
    PageSet pages{pageFactory(clipboard)};
};
