#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <array>

// A small stand-alone account of what the tool must show after any sequence
// of user actions: the visible page, each page's selected option, output text
// and parameter inputs, and the clipboard. It knows the rules of the pages by
// itself and takes only the fixed entry snippets from the page data; it never
// calls the program's own builders, so the two can disagree.
namespace toolmodel {

constexpr int kPageCount = 9;
constexpr int kHome = 1;
constexpr int kList = 2;
constexpr int kAbout = 9;
// A parameter box holds at most this many characters; typing into a full
// box does nothing, and a paste keeps what fits.
constexpr qsizetype kBoxCapacity = 65535;

// A number as a user types it: blanks (U+0020) around it, an optional sign,
// ASCII digits with at most one decimal point and at least one digit, and an
// optional exponent (E or e, optional sign, digits).
bool isNumber(const QString &text);
// " name='text'" for a non-empty numeric text, else nothing.
QString parameter(const QString &name, const QString &text);
// Every line followed by CR LF, the last one too.
QString linesText(const QStringList &lines);

// The drop-down lists of the home page, in list order.
QStringList columnAttributes();
QStringList otherFields();
QStringList timeStyles();
QStringList articleAttributes();
QStringList orderings();

// The home page's article list options: layouts 0..4, then the click count.
constexpr int kClickCount = 5;
// The object name of article list option `option`.
QString articleOptionName(int option);

struct PageState {
    QString output;
    QString selected;               // object name of the selected option, empty for none
    QMap<QString, QString> boxes;   // parameter box texts
    QMap<QString, QString> combos;  // drop-down texts
};

class ToolModel
{
public:
    ToolModel();

    // The program starts (again): only the home page exists and shows. The
    // clipboard belongs to the system and keeps its text.
    void start();

    void navigate(int target);
    // A click on a tag entry ("listPageTag3") or an article list option of the
    // home page ("articleLayout2", "articleClicks") of the visible page.
    void clickOption(int page, const QString &name);
    // The text of a parameter box changed to `text`.
    void boxChanged(int page, const QString &box, const QString &text);
    // The user chose `item` from a drop-down list (or the drop-down shows a
    // text outside its list, which the description of each list covers too).
    void comboChosen(int page, const QString &combo, const QString &item);
    // The user edited the output box; nothing reacts.
    void outputEdited(int page, const QString &text);
    // Another program put text on the clipboard.
    void clipboardSetElsewhere(const QString &text);
    // From now on the clipboard refuses (or takes again) what the tool puts
    // on it; while it refuses, it keeps what it holds.
    void clipboardRefuses(bool refusing) { m_clipboardRefusing = refusing; }

    int visiblePage() const { return m_visible; }
    bool exists(int page) const { return page == kHome || m_allCreated; }
    const PageState &page(int number) const { return m_pages[number - 1]; }
    const QString &clipboard() const { return m_clipboard; }

    // Every option button of the page's exclusive group, by object name.
    static QStringList optionNames(int page);
    static QStringList boxNames(int page);
    static QStringList comboNames(int page);
    static QStringList comboItems(const QString &combo);

private:
    PageState &state(int page) { return m_pages[page - 1]; }
    void write(int page, const QString &text, bool copy);
    QString menuText() const;
    QString articleListText(int layout) const;
    QString listTagText() const;

    std::array<PageState, kPageCount> m_pages;
    int m_visible = kHome;
    bool m_allCreated = false;
    QString m_clipboard;
    bool m_clipboardRefusing = false;
};

} // namespace toolmodel
