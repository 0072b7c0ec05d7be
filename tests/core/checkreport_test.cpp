// Where findings are reported: lines and columns in the three units, template
// files in UTF-8 and GB18030, and every report format read back.
#include "core/check/checkreport.h"
#include "core/check/checkrules.h"
#include "core/files/templatefile.h"
#include "core/template/textposition.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PositionCase {
    const char *name;
    QString text;
    qsizetype offset;
    qsizetype line;
    qsizetype display;
    qsizetype byte;
    qsizetype utf16;
};

TEST(TextPosition, LinesAndColumnsInEveryUnit)
{
    const QString han = QStringLiteral("标签");
    const QString astral = QString::fromUcs4(U"\U0001F600");   // wide, two UTF-16 units, four bytes
    const PositionCase cases[] = {
        {"start", QStringLiteral("abc"), 0, 1, 1, 1, 1},
        {"after Latin", QStringLiteral("abc"), 2, 1, 3, 3, 3},
        {"after Chinese", han + QStringLiteral("{x"), 3, 1, 6, 8, 4},
        {"LF", QStringLiteral("a\nbc"), 3, 2, 2, 2, 2},
        {"CR LF", QStringLiteral("a\r\nbc"), 4, 2, 2, 2, 2},
        {"CR alone", QStringLiteral("a\rbc"), 3, 2, 2, 2, 2},
        {"CR LF counts once", QStringLiteral("\r\n\r\nx"), 4, 3, 1, 1, 1},
        {"line end itself", QStringLiteral("ab\r\nc"), 2, 1, 3, 3, 3},
        {"tab to the next stop", QStringLiteral("a\tb"), 2, 1, 9, 3, 3},
        {"combining mark takes no column", QStringLiteral("e\u0301x"), 2, 1, 2, 4, 3},
        {"outside the BMP", astral + QStringLiteral("x"), 2, 1, 3, 5, 3},
        {"full-width punctuation", QStringLiteral("，x"), 1, 1, 3, 4, 2},
        {"past the end is the end", QStringLiteral("ab"), 9, 1, 3, 3, 3},
    };
    for (const PositionCase &c : cases) {
        SCOPED_TRACE(c.name);
        const LineIndex index(c.text);
        const TextPosition display = index.position(c.offset, ColumnUnit::Display);
        EXPECT_EQ(display.line, c.line);
        EXPECT_EQ(display.column, c.display);
        EXPECT_EQ(index.position(c.offset, ColumnUnit::Byte).column, c.byte);
        EXPECT_EQ(index.position(c.offset, ColumnUnit::Utf16).column, c.utf16);
    }
}

// Walking forward gives what the index gives, at every offset of texts with
// every kind of line end and wide, combining and astral characters, asked
// in order, asked with gaps, and asked again after going back.
TEST(TextPosition, WalkingForwardAgreesWithTheIndex)
{
    const QString texts[] = {
        QStringLiteral("a\r\n标签\tx\r\n\r\ny\rz\n"),
        QStringLiteral("e\u0301，") + QString::fromUcs4(U"\U0001F600") + QStringLiteral("\r\r\n\n\tq"),
        QStringLiteral("\r\n"),
        QString(),
    };
    for (const QString &text : texts) {
        const LineIndex index(text);
        for (const ColumnUnit unit : {ColumnUnit::Display, ColumnUnit::Byte, ColumnUnit::Utf16, ColumnUnit::CodePoint}) {
            for (const qsizetype step : {1, 2, 3}) {
                ForwardPositions walk(text, unit);
                for (qsizetype offset = 0; offset <= text.size() + 1; offset += step) {
                    const TextPosition expected = index.position(offset, unit);
                    const TextPosition found = walk.position(offset);
                    EXPECT_EQ(found.line, expected.line) << text.toStdString() << " at " << offset << " step " << step;
                    EXPECT_EQ(found.column, expected.column) << text.toStdString() << " at " << offset << " step " << step;
                }
                const TextPosition again = walk.position(1);
                EXPECT_EQ(again.line, index.position(1, unit).line) << "going back starts over";
                EXPECT_EQ(again.column, index.position(1, unit).column);
            }
        }
    }
}

TEST(TemplateFile, ReadsUtf8AndGb18030AndRefusesNeither)
{
    const QString text = QStringLiteral("{zuvi:global name='标签' /}\r\n");
    const auto plain = decodeTemplate(text.toUtf8());
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->text, text);
    EXPECT_STREQ(plain->encoding, "UTF-8");

    const auto withMark = decodeTemplate("\xEF\xBB\xBF" + text.toUtf8());
    ASSERT_TRUE(withMark);
    EXPECT_EQ(withMark->text, text) << "the byte order mark is not part of the text";

    // "标签" in GBK, as many CMS installations save templates.
    const auto gbk = decodeTemplate(QByteArray("<p>\xB1\xEA\xC7\xA9</p>"));
    ASSERT_TRUE(gbk);
    EXPECT_EQ(gbk->text, QStringLiteral("<p>标签</p>"));
    EXPECT_STREQ(gbk->encoding, "GB18030");

    EXPECT_FALSE(decodeTemplate(QByteArray("ok \xFF\xFF", 5))) << "0xFF starts no character in either";
    EXPECT_FALSE(decodeTemplate(QByteArray("cut \x81", 5))) << "a character cut off at the end of the file";
    const auto empty = decodeTemplate(QByteArray());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->text.isEmpty());
}

// Two files, the first with findings after Chinese text on its second line.
struct Sample {
    QString path = QStringLiteral("主题/index.htm");
    QString text = QStringLiteral("<p>\r\n标签{zuvi:arclist}\r\n");
    QList<Finding> findings = {
        {QStringLiteral("E101"), Severity::Error, 7, 14, QStringLiteral("块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist}"), {}},
        {QStringLiteral("W201"), Severity::Warning, 0, 3, QStringLiteral("消息含有 : 与 , 以及 %1"), {}},
    };
};

QByteArray report(ReportFormat format, ColumnUnit unit = ColumnUnit::Display)
{
    const Sample sample;
    CheckReport report(format, unit);
    report.addFile(sample.path, sample.text, sample.findings);
    report.addFile(QStringLiteral("clean.htm"), QStringLiteral("x"), {});
    if (format == ReportFormat::Sarif) {
        report.addFile(QStringLiteral("/srv/站点/a b.htm"), QStringLiteral("{x"), {sample.findings[0]});
        report.addProblem(QStringLiteral("gbk?.htm"), QStringLiteral("cannot decode: neither UTF-8 nor GB18030"));
    }
    QByteArray bytes = report.takeOutput();
    bytes += report.finish();
    return bytes;
}

TEST(CheckReport, GccLinesJumpToTheFinding)
{
    const QStringList lines = QString::fromUtf8(report(ReportFormat::Gcc)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("主题/index.htm:2:5: error: 块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist} [E101]"));
    EXPECT_EQ(lines[1], QStringLiteral("主题/index.htm:1:1: warning: 消息含有 : 与 , 以及 %1 [W201]"));
    EXPECT_TRUE(QString::fromUtf8(report(ReportFormat::Gcc, ColumnUnit::Byte)).startsWith(QStringLiteral("主题/index.htm:2:7:")));
    EXPECT_TRUE(QString::fromUtf8(report(ReportFormat::Gcc, ColumnUnit::Utf16)).startsWith(QStringLiteral("主题/index.htm:2:3:")));
}

TEST(CheckReport, JsonReadsBackWithRanges)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(report(ReportFormat::Json), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    const QJsonArray findings = document.array();
    ASSERT_EQ(findings.size(), 2);
    const QJsonObject first = findings[0].toObject();
    EXPECT_EQ(first[QStringLiteral("path")].toString(), QStringLiteral("主题/index.htm"));
    EXPECT_EQ(first[QStringLiteral("line")].toInt(), 2);
    EXPECT_EQ(first[QStringLiteral("column")].toInt(), 5);
    EXPECT_EQ(first[QStringLiteral("endLine")].toInt(), 2);
    EXPECT_EQ(first[QStringLiteral("endColumn")].toInt(), 19);
    EXPECT_EQ(first[QStringLiteral("code")].toString(), QStringLiteral("E101"));
    EXPECT_EQ(first[QStringLiteral("severity")].toString(), QStringLiteral("error"));
    EXPECT_EQ(findings[1].toObject()[QStringLiteral("severity")].toString(), QStringLiteral("warning"));
}

TEST(CheckReport, GithubAnnotationsEscapeWhatWorkflowCommandsSplitAt)
{
    const QStringList lines = QString::fromUtf8(report(ReportFormat::Github)).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral("::error file=主题/index.htm,line=2,col=5,endLine=2,endColumn=19,title=E101::"
                                       "块标签 {zuvi:arclist} 没有闭合，缺少 {/zuvi:arclist}"));
    EXPECT_EQ(lines[1], QStringLiteral("::warning file=主题/index.htm,line=1,col=1,endLine=1,endColumn=4,title=W201::"
                                       "消息含有 : 与 , 以及 %251"));
    CheckReport awkward(ReportFormat::Github, ColumnUnit::Display);
    awkward.addFile(QStringLiteral("a,b:c%1.htm"), QStringLiteral("x"),
                    {{QStringLiteral("E1"), Severity::Info, 0, 1, QStringLiteral("two\nlines"), {}}});
    EXPECT_EQ(awkward.finish(), QByteArray("::notice file=a%2Cb%3Ac%251.htm,line=1,col=1,endLine=1,endColumn=2,title=E1::two%0Alines\n"));

    // A file not checked is an error of the file, escaped alike.
    CheckReport notChecked(ReportFormat::Github, ColumnUnit::Display);
    notChecked.addProblem(QStringLiteral("a,b:c.htm"), QStringLiteral("cannot read: 100%\nthere"));
    EXPECT_EQ(notChecked.finish(), QByteArray("::error file=a%2Cb%3Ac.htm::cannot read: 100%25%0Athere\n"));
}

// Whether `sarif` is valid against the SARIF 2.1.0 schema, by Python's
// jsonschema; `why` says what is not.
bool validSarif(const QByteArray &sarif, std::string *why)
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("report.sarif")));
    if (!file.open(QIODevice::WriteOnly) || file.write(sarif) != sarif.size())
        return false;
    file.close();
    QProcess validator;
    validator.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral("-c"),
                     QStringLiteral("import json, sys, jsonschema\n"
                                    "jsonschema.validate(json.load(open(sys.argv[2])), json.load(open(sys.argv[1])))"),
                     QStringLiteral(ZUVI_SARIF_SCHEMA), file.fileName()});
    if (!validator.waitForFinished(60000)) {
        *why = "python3 with jsonschema did not answer: scripts/setup.sh installs it";
        return false;
    }
    *why = validator.readAllStandardError().toStdString();
    return validator.exitStatus() == QProcess::NormalExit && validator.exitCode() == 0;
}

TEST(CheckReport, SarifIsValidAgainstItsSchema)
{
    const QByteArray sarif = report(ReportFormat::Sarif);
    const QJsonObject log = QJsonDocument::fromJson(sarif).object();
    const QJsonObject run = log[QStringLiteral("runs")].toArray()[0].toObject();
    const QJsonArray results = run[QStringLiteral("results")].toArray();
    ASSERT_EQ(results.size(), 3);
    const QJsonObject location = results[0].toObject()[QStringLiteral("locations")].toArray()[0].toObject()
                                     [QStringLiteral("physicalLocation")].toObject();
    EXPECT_EQ(location[QStringLiteral("artifactLocation")].toObject()[QStringLiteral("uri")].toString(),
              QStringLiteral("%E4%B8%BB%E9%A2%98/index.htm"));
    const QJsonObject region = location[QStringLiteral("region")].toObject();
    EXPECT_EQ(region[QStringLiteral("startLine")].toInt(), 2);
    EXPECT_EQ(region[QStringLiteral("startColumn")].toInt(), 3) << "SARIF counts UTF-16 units, as its columnKind says";
    EXPECT_EQ(results[2].toObject()[QStringLiteral("locations")].toArray()[0].toObject()[QStringLiteral("physicalLocation")]
                  .toObject()[QStringLiteral("artifactLocation")].toObject()[QStringLiteral("uri")].toString(),
              QStringLiteral("file:///srv/%E7%AB%99%E7%82%B9/a%20b.htm"))
        << "an absolute path is a file URI";

    // Every rule described, from docs/checks.md.
    const QJsonArray rules = run[QStringLiteral("tool")].toObject()[QStringLiteral("driver")].toObject()
                                 [QStringLiteral("rules")].toArray();
    ASSERT_EQ(rules.size(), checkRules().size());
    const QJsonObject unclosed = rules[0].toObject();
    EXPECT_EQ(unclosed[QStringLiteral("id")].toString(), QStringLiteral("E101"));
    EXPECT_EQ(unclosed[QStringLiteral("name")].toString(), QStringLiteral("BlockNeverClosed"));
    EXPECT_EQ(unclosed[QStringLiteral("shortDescription")].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("block never closed"));
    EXPECT_TRUE(unclosed[QStringLiteral("help")].toObject()[QStringLiteral("markdown")].toString().contains(
        QStringLiteral("{/zuvi:arclist}")));
    EXPECT_EQ(unclosed[QStringLiteral("defaultConfiguration")].toObject()[QStringLiteral("level")].toString(),
              QStringLiteral("error"));

    // A file that could not be checked: the run says so.
    const QJsonObject invocation = run[QStringLiteral("invocations")].toArray()[0].toObject();
    EXPECT_FALSE(invocation[QStringLiteral("executionSuccessful")].toBool(true));
    const QJsonObject notice = invocation[QStringLiteral("toolExecutionNotifications")].toArray()[0].toObject();
    EXPECT_EQ(notice[QStringLiteral("message")].toObject()[QStringLiteral("text")].toString(),
              QStringLiteral("cannot decode: neither UTF-8 nor GB18030"));
    EXPECT_EQ(notice[QStringLiteral("locations")].toArray()[0].toObject()[QStringLiteral("physicalLocation")].toObject()
                  [QStringLiteral("artifactLocation")].toObject()[QStringLiteral("uri")].toString(),
              QStringLiteral("gbk%3F.htm"));

    std::string why;
    EXPECT_TRUE(validSarif(sarif, &why)) << why;
}

// Many findings on one long line, their ends out of the order of their
// starts: each is where the index puts it, in every unit.
TEST(CheckReport, ManyFindingsOnOneLineAreEachWhereTheyAre)
{
    QString text = QStringLiteral("\r\n");
    QList<Finding> findings;
    for (int i = 0; i < 2000; ++i) {
        text += QStringLiteral("标签\tab");
        // Every other finding reaches over the next one.
        findings.append({QStringLiteral("W201"), Severity::Warning, text.size() - 2, i % 2 ? 1 : 7, QStringLiteral("m"), {}});
    }
    const LineIndex index(text);
    for (const ColumnUnit unit : {ColumnUnit::Display, ColumnUnit::Byte, ColumnUnit::Utf16}) {
        CheckReport report(ReportFormat::Json, unit);
        report.addFile(QStringLiteral("a.htm"), text, findings);
        const QJsonArray reported = QJsonDocument::fromJson(report.takeOutput() + report.finish()).array();
        ASSERT_EQ(reported.size(), findings.size());
        for (qsizetype i = 0; i < findings.size(); i += 97) {
            const QJsonObject r = reported[i].toObject();
            const TextPosition start = index.position(findings[i].start, unit);
            const TextPosition end = index.position(findings[i].start + findings[i].length, unit);
            EXPECT_EQ(r[QStringLiteral("line")].toInt(), start.line);
            EXPECT_EQ(r[QStringLiteral("column")].toInt(), start.column) << i;
            EXPECT_EQ(r[QStringLiteral("endLine")].toInt(), end.line);
            EXPECT_EQ(r[QStringLiteral("endColumn")].toInt(), end.column) << i;
        }
    }
}

// A file of many findings is handed on in pieces as its report grows, not
// held whole; the pieces and the rest make the same report.
TEST(CheckReport, ALargeReportIsHandedOnAsItGrows)
{
    const QString text(100000, u'x');
    QList<Finding> findings;
    for (qsizetype i = 0; i < text.size(); i += 10)
        findings.append({QStringLiteral("W201"), Severity::Warning, i, 1, QStringLiteral("消息"), {}});
    for (const ReportFormat format : {ReportFormat::Gcc, ReportFormat::Json, ReportFormat::Sarif, ReportFormat::Github}) {
        CheckReport whole(format, ColumnUnit::Display);
        whole.addFile(QStringLiteral("a.htm"), text, findings);
        const QByteArray expected = whole.takeOutput() + whole.finish();

        CheckReport piecewise(format, ColumnUnit::Display);
        QList<QByteArray> pieces;
        piecewise.setSink([&](const QByteArray &piece) { pieces.append(piece); });
        piecewise.addFile(QStringLiteral("a.htm"), text, findings);
        EXPECT_GT(pieces.size(), 3) << "handed on while the file was reported";
        const qsizetype largest = std::max_element(pieces.cbegin(), pieces.cend(), [](const QByteArray &a, const QByteArray &b) {
                                      return a.size() < b.size();
                                  })->size();
        EXPECT_LT(largest, expected.size() / 3);
        EXPECT_EQ(pieces.join() + piecewise.takeOutput() + piecewise.finish(), expected);
    }
}

TEST(CheckReport, ReportsWithoutFindingsAreWholeDocuments)
{
    CheckReport json(ReportFormat::Json, ColumnUnit::Display);
    json.addFile(QStringLiteral("clean.htm"), QStringLiteral("x"), {});
    EXPECT_EQ(json.takeOutput() + json.finish(), QByteArray("[]\n"));

    CheckReport sarif(ReportFormat::Sarif, ColumnUnit::Display);
    const QByteArray log = sarif.takeOutput() + sarif.finish();
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(log, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << log.toStdString();
    EXPECT_TRUE(document[QStringLiteral("runs")][0][QStringLiteral("results")].toArray().isEmpty());
    std::string why;
    EXPECT_TRUE(validSarif(log, &why)) << why;
}

// Every name a format, the configuration or --fail-level takes is read back
// as what it names, and nothing else is taken for one.
TEST(CheckReport, NamesOfFormatsAndSeveritiesReadBack)
{
    for (const QString &name : reportFormatNames(u",").split(u',')) {
        const std::optional<ReportFormat> format = reportFormatNamed(name);
        ASSERT_TRUE(format) << name.toStdString();
        CheckReport report(*format, ColumnUnit::Display);
        report.addFile(QStringLiteral("a.htm"), QStringLiteral("x"),
                       {{QStringLiteral("W201"), Severity::Warning, 0, 1, QStringLiteral("m"), {}}});
        EXPECT_FALSE((report.takeOutput() + report.finish()).isEmpty()) << name.toStdString();
    }
    EXPECT_EQ(reportFormatNames(u", "), QStringLiteral("gcc, json, sarif, github")) << "gcc first: the default";
    EXPECT_EQ(severityNames(u", "), QStringLiteral("error, warning, info"));
    for (const Severity severity : {Severity::Error, Severity::Warning, Severity::Info})
        EXPECT_EQ(severityNamed(severityName(severity)), severity);
    for (const char *notOne : {"", "Error", "note", "off", "gcc "}) {
        EXPECT_FALSE(severityNamed(QString::fromLatin1(notOne))) << notOne;
        EXPECT_FALSE(reportFormatNamed(QString::fromLatin1(notOne))) << notOne;
    }
}

TEST(CheckReport, SeveritiesAreOrderedFromTheGravest)
{
    const struct {
        Severity severity;
        Severity level;
        bool reached;
    } cases[] = {
        {Severity::Error, Severity::Error, true},    {Severity::Error, Severity::Info, true},
        {Severity::Warning, Severity::Error, false}, {Severity::Warning, Severity::Warning, true},
        {Severity::Info, Severity::Warning, false},  {Severity::Info, Severity::Info, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(atLeast(c.severity, c.level), c.reached) << severityName(c.severity).toStdString() << " at "
                                                            << severityName(c.level).toStdString();
}

} // namespace
