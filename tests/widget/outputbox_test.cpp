// The output box as a code view: the snippet coloured by its tokens in the
// box's layout while the text itself, the output and the clipboard stay the
// same characters; colours readable on any base; Latin text in the code face
// and Chinese in the Song face.
#include "core/catalog/snippet.h"
#include "shell/fonts.h"
#include "shell/templatehighlighter.h"
#include "tests/support/pagedata.h"
#include "tests/support/pagefixture.h"
#include "tests/support/qtprinters.h"

#include <QGlyphRun>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QRawFont>
#include <QSet>
#include <QTextBlock>
#include <QTextLayout>

#include <cmath>
#include <iterator>
#include <ostream>

using namespace Qt::StringLiterals;

static void PrintTo(const QColor &colour, std::ostream *os)
{
    *os << (colour.isValid() ? colour.name().toStdString() : std::string("no colour"));
}

namespace {

class OutputBoxColours : public PagesFixture
{
protected:
    QPlainTextEdit *box(int number) const { return content(number)->outputBox(); }
    static QColor base(const QPlainTextEdit *box) { return box->palette().color(QPalette::Base); }

    // The first block of the box whose text contains `needle`.
    static QTextBlock blockWith(const QPlainTextEdit *box, const QString &needle)
    {
        for (QTextBlock block = box->document()->firstBlock(); block.isValid(); block = block.next()) {
            if (block.text().contains(needle))
                return block;
        }
        ADD_FAILURE() << "no line holds " << needle.toStdString();
        return {};
    }
    // The colour the box draws the character at `position` of a block in;
    // invalid where the layout has no format for it (plain text).
    static QColor drawnColour(const QTextBlock &block, qsizetype position)
    {
        if (!block.isValid() || !block.layout())
            return {};
        for (const QTextLayout::FormatRange &range : block.layout()->formats()) {
            if (position >= range.start && position < range.start + range.length)
                return range.format.foreground().color();
        }
        return {};
    }
    // The colour of the first character of `needle` in the first line that
    // holds it.
    static QColor colourOf(const QPlainTextEdit *box, const QString &needle)
    {
        const QTextBlock block = blockWith(box, needle);
        return drawnColour(block, block.text().indexOf(needle));
    }
    static QColor expected(TokenKind kind, const QPlainTextEdit *box) { return tokenColour(kind, base(box)); }
};

TEST_F(OutputBoxColours, AnEntrysSnippetIsColouredAndItsTextLeftAsItIs)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 14));
    const QPlainTextEdit *output = box(Page::Content);
    const QString snippet = snippetText(pageData(Page::Content).entry(14)->lines);

    EXPECT_EQ(colourOf(output, u"{zuvi:articlepay"_s), expected(TokenKind::TemplateTag, output));
    EXPECT_EQ(colourOf(output, u"id='field'"_s), expected(TokenKind::TemplateAttribute, output));
    EXPECT_EQ(colourOf(output, u"'field'"_s), expected(TokenKind::TemplateValue, output));
    EXPECT_EQ(colourOf(output, u"<!-- 内容显示"_s), expected(TokenKind::Comment, output));
    EXPECT_EQ(colourOf(output, u"<div {$field.contentId}>"_s), expected(TokenKind::HtmlTag, output));
    EXPECT_EQ(colourOf(output, u"{$field.contentId}"_s), expected(TokenKind::Placeholder, output));
    EXPECT_EQ(colourOf(output, u"class='red'"_s), expected(TokenKind::HtmlAttribute, output));
    EXPECT_EQ(colourOf(output, u"'red'"_s), expected(TokenKind::HtmlValue, output));
    // Text between tags is drawn in the box's own text colour.
    EXPECT_FALSE(colourOf(output, u"当前隐藏内容需要支付"_s).isValid());
    EXPECT_NE(expected(TokenKind::TemplateTag, output), output->palette().color(QPalette::Text));

    // The colours are in the layout alone: the document's text carries no
    // format, and the box, the output and the clipboard hold the snippet.
    for (QTextBlock block = output->document()->firstBlock(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            EXPECT_FALSE(it.fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush)) << block.text().toStdString();
    }
    EXPECT_EQ(output->toPlainText(), QString(snippet).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_EQ(outputText(Page::Content).toUtf8(), snippet.toUtf8());
    EXPECT_EQ(clipboardText().toUtf8(), snippet.toUtf8());
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());
}

TEST_F(OutputBoxColours, StyleScriptAndPhpBlocksAreFollowedFromLineToLine)
{
    goTo(Page::TemplateFiles);
    clickOn(entry(Page::TemplateFiles, 1));
    const QPlainTextEdit *output = box(Page::TemplateFiles);
    // Lines inside the <style> and <script> blocks, lines below the lines
    // that opened them.
    EXPECT_EQ(colourOf(output, u".pay-item-select {"_s), expected(TokenKind::CssSelector, output));
    EXPECT_EQ(colourOf(output, u"border-radius: 4px"_s), expected(TokenKind::CssProperty, output));
    EXPECT_EQ(colourOf(output, u"1px solid #1E9FFF"_s), expected(TokenKind::CssValue, output));
    EXPECT_EQ(colourOf(output, u"return false;"_s), expected(TokenKind::Keyword, output));
    EXPECT_EQ(colourOf(output, u"'#PayBalancePayment'"_s), expected(TokenKind::String, output));
    // A placeholder inside a script string, and PHP in a template PHP block.
    EXPECT_EQ(colourOf(output, u"{$RootDir}"_s), expected(TokenKind::Placeholder, output));
    EXPECT_EQ(colourOf(output, u"$pay_mark_vars ="_s), expected(TokenKind::Variable, output));
    // After </script>, HTML again.
    EXPECT_EQ(colourOf(output, u"</body>"_s), expected(TokenKind::HtmlTag, output));

    // The extension functions are PHP from their first line.
    goTo(Page::ExtensionFunctions);
    clickOn(entry(Page::ExtensionFunctions, 0));
    const QPlainTextEdit *functions = box(Page::ExtensionFunctions);
    EXPECT_EQ(colourOf(functions, u"function diy_archives_list"_s), expected(TokenKind::Keyword, functions));
    EXPECT_EQ(colourOf(functions, u"$channel = 0"_s), expected(TokenKind::Variable, functions));
}

TEST_F(OutputBoxColours, TextTypedIntoTheBoxIsColouredAsTyped)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 14));
    QPlainTextEdit *output = box(Page::Content);
    ASSERT_TRUE(QTest::qWaitForWindowActive(page(Page::Content)));
    output->setFocus();

    // Opening a comment colours the lines below it as comment, up to the
    // snippet's own next "-->"; taking it back gives them their colours again.
    output->setTextCursor(QTextCursor(blockWith(output, u"<div {$field.contentId}>"_s)));
    typeText(output, u"<!--"_s);
    EXPECT_EQ(colourOf(output, u"<div {$field.contentId}>"_s), expected(TokenKind::Comment, output));
    EXPECT_EQ(colourOf(output, u"</div>"_s), expected(TokenKind::Comment, output));
    EXPECT_EQ(colourOf(output, u"{$field.content}"_s), expected(TokenKind::Placeholder, output))
        << "the CMS expands placeholders in comments too";
    QTest::keyClick(output, Qt::Key_Backspace);
    EXPECT_EQ(colourOf(output, u"</div>"_s), expected(TokenKind::HtmlTag, output)) << "<!- opens no comment";
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(output, Qt::Key_Backspace);
    EXPECT_EQ(colourOf(output, u"<div {$field.contentId}>"_s), expected(TokenKind::HtmlTag, output));
    EXPECT_EQ(outputText(Page::Content), snippetText(pageData(Page::Content).entry(14)->lines));

    output->moveCursor(QTextCursor::End);
    typeText(output, u"<b>{$x}</b>"_s);
    EXPECT_TRUE(outputText(Page::Content).endsWith(u"\r\n<b>{$x}</b>"_s));
    EXPECT_EQ(colourOf(output, u"{$x}</b>"_s), expected(TokenKind::Placeholder, output));
}

TEST_F(OutputBoxColours, AMegabytePastedIntoABuilderReachesBoxAndClipboardAsKept)
{
    QLineEdit *columnId = content(Page::Home)->widget<QLineEdit>(u"columnId"_s);
    ASSERT_NE(columnId, nullptr);
    columnId->insert(u"1234567890"_s.repeated(100 * 1024).left(1024 * 1024));

    // Whatever length the box keeps, its text is in the snippet whole.
    const QString kept = columnId->text();
    ASSERT_GT(kept.size(), 20000);
    const QString output = outputText(Page::Home);
    EXPECT_TRUE(output.contains(kept));
    EXPECT_EQ(clipboardText().toUtf8(), output.toUtf8());
    // The start of the long line is coloured; its end is drawn plain.
    const QPlainTextEdit *home = box(Page::Home);
    const QTextBlock line = blockWith(home, kept.left(20));
    EXPECT_EQ(drawnColour(line, 0), expected(TokenKind::TemplateTag, home));
    EXPECT_FALSE(drawnColour(line, line.length() - 3).isValid());
}

TEST_F(OutputBoxColours, ADarkPaletteGivesTheColoursMadeForDarkBases)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 14));
    QPlainTextEdit *output = box(Page::Content);
    const QColor onLight = colourOf(output, u"{zuvi:articlepay"_s);

    QPalette dark = output->palette();
    dark.setColor(QPalette::Base, QColor(0x23, 0x26, 0x29));
    dark.setColor(QPalette::Text, QColor(0xef, 0xf0, 0xf1));
    output->setPalette(dark);

    const QColor onDark = colourOf(output, u"{zuvi:articlepay"_s);
    EXPECT_EQ(onDark, tokenColour(TokenKind::TemplateTag, dark.color(QPalette::Base)));
    EXPECT_NE(onDark, onLight);
    EXPECT_GT(onDark.lightnessF(), 0.5);
    EXPECT_EQ(colourOf(output, u"{$field.contentId}"_s), tokenColour(TokenKind::Placeholder, dark.color(QPalette::Base)));
}

// WCAG 2's contrast ratio, worked out here apart from the tool's own.
double contrastRatio(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a) + 0.05;
    const double lb = luminance(b) + 0.05;
    return la > lb ? la / lb : lb / la;
}

TEST(TokenColours, EveryColourKeepsFourAndAHalfToOneOnAnyBase)
{
    QPlainTextEdit box;
    const QColor bases[] = {
        box.palette().color(QPalette::Base),      // the tool's own
        QColor(0xffffff), QColor(0xefefef), QColor(0xfdf6e3), QColor(0xffffdc),   // light desktops
        QColor(0x232629), QColor(0x2a2a2a), QColor(0x353535), QColor(0x1e1e1e),   // dark desktops
        QColor(0x3c3f41), QColor(0x002b36), QColor(Qt::black),
        QColor(0x808080), QColor(0x767676), QColor(0x5a5a5a), QColor(0xa0a0a0),   // greys between
        QColor(0x3050c0), QColor(0xc03030), QColor(0x30a030),
    };
    for (const QColor &base : bases) {
        for (int kind = 0; kind < kTokenKindCount; ++kind) {
            const QColor colour = tokenColour(TokenKind(kind), base);
            EXPECT_GE(contrastRatio(colour, base), 4.5)
                << "kind " << kind << " " << colour.name().toStdString() << " on " << base.name().toStdString();
        }
    }
}

TEST(TokenColours, OnLightAndDarkBasesTheKindsStayApart)
{
    // Each role its own colour, on the bases the palette is made for: clear
    // of the minimum contrast rather than pushed to it, not black or white,
    // not merged.
    const TokenKind roles[] = {
        TokenKind::TemplateTag, TokenKind::TemplateAttribute, TokenKind::TemplateValue, TokenKind::Placeholder,
        TokenKind::PlaceholderFilter, TokenKind::HtmlTag, TokenKind::HtmlAttribute, TokenKind::HtmlValue,
        TokenKind::Comment, TokenKind::String,
    };
    for (const QColor &base : {QColor(Qt::white), QColor(0x232629)}) {
        QSet<QRgb> seen;
        for (const TokenKind kind : roles) {
            const QColor colour = tokenColour(kind, base);
            EXPECT_GE(contrastRatio(colour, base), 5.0) << int(kind) << " on " << base.name().toStdString();
            EXPECT_TRUE(colour != QColor(Qt::black) && colour != QColor(Qt::white)) << int(kind);
            EXPECT_GT(colour.hsvSaturationF() + (kind == TokenKind::Comment), 0.3) << int(kind);
            seen.insert(colour.rgb());
        }
        EXPECT_EQ(seen.size(), qsizetype(std::size(roles))) << base.name().toStdString();
    }
}

// A box with nothing to show is drawn in the Song face at its size; it takes
// the code face with its first snippet, when it takes the focus (before its
// caret shows) and when text is pasted into it.
TEST_F(OutputBoxColours, TakesTheCodeFaceWhenItFirstHasTextOrFocus)
{
    goTo(Page::List);
    goTo(Page::Content);
    const QStringList codeFaces{codeFamily(), songFamily()};
    for (int p : {int(Page::Home), int(Page::List), int(Page::Content)}) {
        EXPECT_FALSE(box(p)->font().families().contains(codeFamily())) << p;
        EXPECT_EQ(box(p)->font().pointSizeF(), 10.5) << p;
    }

    clickOn(entry(Page::Content, 3));
    EXPECT_EQ(box(Page::Content)->font().families(), codeFaces);
    EXPECT_EQ(outputText(Page::Content), clipboardText());

    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QApplication::sendEvent(box(Page::List), &focusIn);
    EXPECT_EQ(box(Page::List)->font().families(), codeFaces);

    QApplication::clipboard()->setText(u"{zuvi:pasted/}"_s);
    box(Page::Home)->paste();
    EXPECT_EQ(box(Page::Home)->font().families(), codeFaces);
    EXPECT_EQ(box(Page::Home)->toPlainText(), u"{zuvi:pasted/}"_s);
}

TEST_F(OutputBoxColours, LatinInTheCodeFaceChineseInTheSongFace)
{
    goTo(Page::Content);
    clickOn(entry(Page::Content, 3));
    const QPlainTextEdit *output = box(Page::Content);
    EXPECT_EQ(output->font().families(), (QStringList{codeFamily(), songFamily()}));
    EXPECT_EQ(output->font().pointSizeF(), 10.5);

    // Character by character: the code face draws the Latin, the Song face
    // the Chinese it lacks.
    QTextLayout layout(u"l1I0O{$field.title} 内容显示"_s, output->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QMap<QString, QString> drawnBy;   // face: characters
    for (int i = 0; i < layout.text().size(); ++i) {
        const QList<QGlyphRun> runs = layout.glyphRuns(i, 1);
        if (!layout.text().at(i).isSpace() && !runs.isEmpty())
            drawnBy[runs.first().rawFont().familyName()] += layout.text().at(i);
    }
    EXPECT_EQ(drawnBy.value(codeFamily()), u"l1I0O{$field.title}"_s) << drawnBy.keys().join(u", "_s).toStdString();
    EXPECT_EQ(drawnBy.value(QFontInfo(songFont(10.5)).family()), u"内容显示"_s);

    // Captions, buttons and the builders' boxes keep the Song face.
    const QWidget *others[] = {entry(Page::Content, 14), content(Page::Home)->widget(u"columnId"_s),
                               content(Page::List)->widget(u"listSummaryLength"_s), page(Page::Content)->ownButton()};
    for (const QWidget *other : others) {
        ASSERT_NE(other, nullptr);
        EXPECT_EQ(other->font().family(), songFamily()) << other->objectName().toStdString();
        EXPECT_FALSE(other->font().families().contains(codeFamily())) << other->objectName().toStdString();
    }
}

} // namespace

namespace {

using OutputBoxOnEveryPage = PagesFixture;

TEST_F(OutputBoxOnEveryPage, IsEditableWrapsAtItsWidthAndAlwaysShowsItsScrollBar)
{
    goTo(Page::Home);
    for (int p = kFirstPage; p <= Page::ExtensionFunctions; ++p) {
        QPlainTextEdit *box = content(p)->outputBox();
        EXPECT_EQ(box->font().pointSizeF(), 10.5) << p;
        EXPECT_EQ(box->lineWrapMode(), QPlainTextEdit::WidgetWidth) << p;
        EXPECT_EQ(box->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn) << p;
        EXPECT_FALSE(box->isReadOnly()) << p;
    }
}

TEST_F(OutputBoxOnEveryPage, StandsAboveTheUsageLine)
{
    goTo(Page::Home);
    for (int p = kFirstPage; p <= Page::ExtensionFunctions; ++p) {
        QLabel *usage = nullptr;
        for (QLabel *label : page(p)->findChildren<QLabel *>()) {
            if (label->text() == QStringLiteral("使用说明：选择相应标签即可自动生成及复制到剪切板，你只需要粘贴即可。"))
                usage = label;
        }
        ASSERT_NE(usage, nullptr) << p;
        const QRect box(content(p)->outputBox()->mapTo(page(p), QPoint(0, 0)), content(p)->outputBox()->size());
        const QRect line(usage->mapTo(page(p), QPoint(0, 0)), usage->size());
        EXPECT_LE(box.bottom(), line.top()) << p;
    }
}

} // namespace
