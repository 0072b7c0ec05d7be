// Writes the catalog's digest (core/catalog/catalogdigest.h) as a C++ source
// that the core compiles in: what the core derives from the page data, the
// tag knowledge and the editor exports, derived here by the core's own code.
// This program is built without a digest, so all of it comes from the pages.
//
//   catalogdigest OUTPUT.inc

#include "core/catalog/editorexport.h"
#include "core/catalog/tagknowledge.h"

#include <QByteArray>
#include <QHash>
#include <QSaveFile>
#include <QString>

#include <cstdio>

namespace {

// The tables of the digest as C++ initialisers, each text put in the pool
// once.
class DigestWriter
{
public:
    explicit DigestWriter(const TagKnowledge &knowledge)
    {
        for (const TagInfo &tag : knowledge.tags()) {
            m_tags += row("{%1, %2, %3, %4},")
                          .arg(text(tag.name), bit(tag.block))
                          .arg(m_attributeCount)
                          .arg(tag.attributes.size());
            for (const AttributeInfo &attribute : tag.attributes) {
                m_attributes += row("{%1, %2, %3, %4},")
                                    .arg(text(attribute.name), bit(attribute.numeric))
                                    .arg(m_valueCount)
                                    .arg(attribute.values.size());
                for (const QString &value : attribute.values)
                    m_values += row("%1,").arg(text(value));
                m_valueCount += attribute.values.size();
            }
            m_attributeCount += tag.attributes.size();
        }
        for (const QString &name : knowledge.attributeNames())
            m_attributeNames += row("%1,").arg(text(name));
        m_tagCount = knowledge.tags().size();
        m_attributeNameCount = knowledge.attributeNames().size();
    }

    QByteArray source(const QByteArray &vsCode, const QByteArray &jetBrains) const
    {
        QByteArray out = "// Written by the catalogdigest tool when the project builds, from the page\n"
                         "// data: see core/catalog/catalogdigest.h. Not to be edited.\n\n"
                         "namespace {\n\n";
        out += "constexpr std::array<char16_t, " + QByteArray::number(m_pool.size()) + "> kText = {";
        for (qsizetype i = 0; i < m_pool.size(); ++i)
            out += (i % 16 ? " " : "\n    ") + QByteArray::number(m_pool[i].unicode()) + ',';
        out += "\n};\n";
        out += table("catalogdigest::Tag", "kTags", m_tagCount, m_tags);
        out += table("catalogdigest::Attribute", "kAttributes", m_attributeCount, m_attributes);
        out += table("catalogdigest::Text", "kValues", m_valueCount, m_values);
        out += table("catalogdigest::Text", "kAttributeNames", m_attributeNameCount, m_attributeNames);
        out += bytes("kVsCodeSnippets", vsCode);
        out += bytes("kJetBrainsTemplateSet", jetBrains);
        out += "\nconstexpr catalogdigest::Digest kDigest = {\n"
               "    kText.data(), kTags.data(), kTags.size(), kAttributes.data(), kValues.data(),\n"
               "    kAttributeNames.data(), kAttributeNames.size(),\n"
               "    {kVsCodeSnippets, sizeof kVsCodeSnippets - 1},\n"
               "    {kJetBrainsTemplateSet, sizeof kJetBrainsTemplateSet - 1},\n"
               "};\n\n"
               "} // namespace\n";
        return out;
    }

private:
    static QString row(const char *format) { return QStringLiteral("\n    ") + QLatin1String(format); }
    static QString bit(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

    // `value` in the pool, as an initialiser of catalogdigest::Text.
    QString text(const QString &value)
    {
        auto it = m_placed.constFind(value);
        if (it == m_placed.cend()) {
            it = m_placed.insert(value, QStringLiteral("{%1, %2}").arg(m_pool.size()).arg(value.size()));
            m_pool += value;
            m_pool += QChar(0);
        }
        return *it;
    }

    static QByteArray table(const char *type, const char *name, qsizetype size, const QString &rows)
    {
        return "\nconstexpr std::array<" + QByteArray(type) + ", " + QByteArray::number(size) + "> " + name + " = {{"
            + rows.toLatin1() + "\n}};\n";
    }

    // A string literal of the bytes, a line of them to a literal: printable
    // ASCII as it is, the rest in octal escapes, which never run on.
    static QByteArray bytes(const char *name, const QByteArray &value)
    {
        QByteArray out = "\nconstexpr char " + QByteArray(name) + "[] =\n    \"";
        for (qsizetype i = 0; i < value.size(); ++i) {
            const auto c = static_cast<unsigned char>(value[i]);
            if (c == '"' || c == '\\' || c == '?') {
                out += '\\';
                out += char(c);
            } else if (c >= 0x20 && c < 0x7f) {
                out += char(c);
            } else {
                char escaped[5];
                std::snprintf(escaped, sizeof escaped, "\\%03o", c);
                out += escaped;
            }
            if (c == '\n' && i + 1 < value.size())
                out += "\"\n    \"";
        }
        return out + "\";\n";
    }

    QString m_pool;
    QHash<QString, QString> m_placed;   // each text of the pool, by its initialiser
    QString m_tags, m_attributes, m_values, m_attributeNames;
    qsizetype m_tagCount = 0, m_attributeCount = 0, m_valueCount = 0, m_attributeNameCount = 0;
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: catalogdigest OUTPUT.inc\n");
        return 2;
    }
    const QList<EditorTemplate> templates = catalogTemplates();
    const DigestWriter writer(TagKnowledge::learnCatalog());
    QSaveFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::WriteOnly) || file.write(writer.source(vsCodeSnippets(templates), jetBrainsTemplateSet(templates))) < 0
        || !file.commit()) {
        std::fprintf(stderr, "catalogdigest: cannot write %s: %s\n", argv[1], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
