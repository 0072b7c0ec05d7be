// Writes the pinyin of every Han character that the given files hold, as a
// C++ table the core compiles in: ICU's Han-Latin transliteration, done once
// when the project builds, so the program itself needs no ICU data at run
// time and spends nothing on it at start.
//
//   hanpinyin <output.inc> <input>...
//
// The output is rewritten only when its text changes.

#include <QFile>
#include <QMap>
#include <QSaveFile>
#include <QString>

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <cstdio>
#include <memory>

namespace {

bool isHan(char32_t c)
{
    return (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: hanpinyin <output.inc> <input>...\n");
        return 2;
    }
    QMap<char32_t, QString> syllables;
    for (int i = 2; i < argc; ++i) {
        QFile input(QString::fromLocal8Bit(argv[i]));
        if (!input.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "hanpinyin: cannot read %s\n", argv[i]);
            return 1;
        }
        for (char32_t c : QString::fromUtf8(input.readAll()).toUcs4()) {
            if (isHan(c))
                syllables.insert(c, QString());
        }
    }

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> toPinyin(
        icu::Transliterator::createInstance("Han-Latin; Latin-ASCII; Lower", UTRANS_FORWARD, status));
    if (U_FAILURE(status)) {
        std::fprintf(stderr, "hanpinyin: no Han-Latin transliterator: %s\n", u_errorName(status));
        return 1;
    }
    QString table = QStringLiteral("// Written by tools/hanpinyin from ICU's Han-Latin transliteration.\n");
    for (auto it = syllables.begin(); it != syllables.end(); ++it) {
        icu::UnicodeString text(UChar32(it.key()));
        toPinyin->transliterate(text);
        std::string ascii;
        text.toUTF8String(ascii);
        const QString syllable = QString::fromStdString(ascii).trimmed();
        if (syllable.isEmpty() || syllable.contains(u' ') || syllable.contains(u'"'))
            continue;   // no single syllable for it: the character stands for itself
        table += QStringLiteral("{0x%1, \"%2\"},\n").arg(quint32(it.key()), 4, 16, QLatin1Char('0')).arg(syllable);
    }

    const QString outputPath = QString::fromLocal8Bit(argv[1]);
    QFile existing(outputPath);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == table.toUtf8())
        return 0;
    existing.close();
    QSaveFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly) || output.write(table.toUtf8()) < 0 || !output.commit()) {
        std::fprintf(stderr, "hanpinyin: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
