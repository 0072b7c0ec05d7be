#pragma once

#include <QString>
#include <QStringView>

#include <cstddef>
#include <optional>

// How grave a finding of the checker is, and every name it goes by: the
// configuration's and --fail-level's word, what each report format and the
// Language Server Protocol call it. One row per severity.

// From the gravest down; atLeast() relies on the order.
enum class Severity { Error, Warning, Info };

struct SeverityNames {
    Severity severity;
    const char *name;     // ours: the configuration, --fail-level, json reports
    const char *gcc;      // the word of a compiler's message line
    const char *sarif;    // SARIF's level
    const char *github;   // GitHub's workflow command
    int lsp;              // the protocol's DiagnosticSeverity
};

inline constexpr SeverityNames kSeverities[] = {
    {Severity::Error, "error", "error", "error", "error", 1},
    {Severity::Warning, "warning", "warning", "warning", "warning", 2},
    {Severity::Info, "info", "note", "note", "notice", 3},
};

constexpr const SeverityNames &namesOf(Severity severity)
{
    return kSeverities[std::size_t(severity)];
}

// Whether `severity` is `level` or graver: errors are graver than warnings,
// warnings than infos.
constexpr bool atLeast(Severity severity, Severity level)
{
    return int(severity) <= int(level);
}

// The number the Language Server Protocol gives the severity of a diagnostic.
constexpr int lspSeverity(Severity severity)
{
    return namesOf(severity).lsp;
}

QString severityName(Severity severity);   // "error", "warning", "info"
std::optional<Severity> severityNamed(QStringView name);
// Every severity's name, gravest first, joined by `separator`.
QString severityNames(QStringView separator);
