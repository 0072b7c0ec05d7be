#pragma once

#include "core/check/checkrules.h"
#include "core/check/severity.h"
#include "core/check/templatecheck.h"
#include "core/template/textposition.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// The checker's findings written in the formats other tools read:
//   gcc     path:line:column: error: message [code], which Vim's quickfix,
//           Emacs's compilation mode and most editors jump from;
//   json    one array of findings with their ranges;
//   sarif   SARIF 2.1.0, for code-scanning services;
//   github  workflow commands that annotate the lines of a pull request.
// Files are added one by one and their texts are not kept; every format is
// written as files come, json and sarif one finding to a line between an
// opening and a closing, so a report of a whole theme holds nothing but what
// has not been taken yet.
enum class ReportFormat { Gcc, Json, Sarif, Github };

std::optional<ReportFormat> reportFormatNamed(QStringView name);
// Every format's name, as reportFormatNamed() takes it, joined by `separator`.
QString reportFormatNames(QStringView separator);

class CheckReport
{
public:
    // `columns` is the unit of gcc, json and github columns; SARIF counts
    // UTF-16 code units and says so, and describes every check (read from
    // the documentation only then).
    CheckReport(ReportFormat format, ColumnUnit columns);

    // The findings of one file; `text` is what their offsets point into.
    void addFile(const QString &path, QStringView text, const QList<Finding> &findings);
    // A file or folder that could not be checked (unreadable, not
    // decodable, its configuration faulty), so that no report passes for a
    // clean run: gcc "path: error: message", json an entry with the path and
    // its "error" in place of a finding, github an ::error of the file, and
    // SARIF a notification of a run not executed successfully.
    void addProblem(const QString &path, const QString &message);
    // What is ready to be written.
    QByteArray takeOutput();
    // Hands what is ready to `sink` whenever it has grown large, in the
    // middle of a file too, so that a file of many findings is never held
    // as a whole report; takeOutput() still gives the rest.
    void setSink(std::function<void(const QByteArray &)> sink);
    // The rest of the report, its closing included.
    QByteArray finish();

private:
    void appendResult(const QJsonObject &result);
    void flushIfLarge();

    static constexpr qsizetype kFlushSize = 64 * 1024;

    ReportFormat m_format;
    ColumnUnit m_columns;
    QByteArray m_output;
    qsizetype m_results = 0;
    QJsonArray m_problems;   // SARIF: the files not checked, said at the end
    std::function<void(const QByteArray &)> m_sink;
};
