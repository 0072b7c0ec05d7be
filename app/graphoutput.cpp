#include "app/graphoutput.h"

#include "core/files/outputfile.h"
#include "core/files/rawbytes.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

constexpr int kDrawingTimeoutMs = 60000;

QString dotProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("dot"));
}

} // namespace

bool GraphOutput::wantsPicture() const
{
    return m_target.toLower().endsWith(".svg");
}

QString GraphOutput::problem() const
{
    if (wantsPicture() && dotProgram().isEmpty())
        return QStringLiteral("cannot draw the graph as SVG into %1: Graphviz's dot is not installed (on Debian: "
                              "apt install graphviz); a name not ending in .svg gets the graph as DOT")
            .arg(textFromRawBytes(m_target));
    return {};
}

QString GraphOutput::write(const QByteArray &dot) const
{
    if (!wantsPicture())
        return OutputFile::writeWhole(m_target, dot);
    QByteArray svg;
    if (const QString error = draw(dot, &svg); !error.isEmpty())
        return error;
    return OutputFile::writeWhole(m_target, svg);
}

QString GraphOutput::draw(const QByteArray &dot, QByteArray *svg) const
{
    const QString program = dotProgram();
    if (program.isEmpty())
        return problem();
    QProcess drawing;
    drawing.start(program, {QStringLiteral("-Tsvg")});
    if (!drawing.waitForStarted())
        return QStringLiteral("cannot draw the graph: %1 did not start: %2").arg(program, drawing.errorString());
    drawing.write(dot);
    drawing.closeWriteChannel();
    if (!drawing.waitForFinished(kDrawingTimeoutMs)) {
        drawing.kill();
        drawing.waitForFinished();
        return QStringLiteral("cannot draw the graph: %1 took more than %2 s; the DOT text (a name not ending in "
                              ".svg) can be drawn by hand")
            .arg(program)
            .arg(kDrawingTimeoutMs / 1000);
    }
    if (drawing.exitStatus() != QProcess::NormalExit || drawing.exitCode() != 0) {
        const QString said = QString::fromLocal8Bit(drawing.readAllStandardError()).trimmed().section(u'\n', 0, 0);
        return QStringLiteral("cannot draw the graph: %1 failed%2")
            .arg(program, said.isEmpty() ? QString() : QStringLiteral(": ") + said);
    }
    *svg = drawing.readAllStandardOutput();
    return {};
}
