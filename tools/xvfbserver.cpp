#include "tools/xvfbserver.h"

#include <QDeadlineTimer>

XvfbServer::XvfbServer()
{
    // Xvfb picks a free display itself and writes its number to the given
    // descriptor once it accepts connections: no display is taken twice, and
    // no client knocks before the server listens.
    m_server = std::make_unique<QProcess>();
    m_server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_server->start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                                             QStringLiteral("0"), QStringLiteral("1280x1024x24"),
                                             QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    if (!m_server->waitForStarted()) {
        m_error = QStringLiteral("Xvfb does not start");
        return;
    }
    QByteArray announced;
    QDeadlineTimer deadline(30000);
    while (!announced.contains('\n') && !deadline.hasExpired() && m_server->state() == QProcess::Running) {
        m_server->waitForReadyRead(100);
        announced += m_server->readAllStandardOutput();
    }
    bool numbered = false;
    const int number = announced.trimmed().toInt(&numbered);
    if (!announced.contains('\n') || !numbered) {
        m_error = QStringLiteral("Xvfb did not announce a display");
        return;
    }
    m_display = QStringLiteral(":%1").arg(number);
}

XvfbServer::~XvfbServer()
{
    if (m_server->state() == QProcess::NotRunning)
        return;
    m_server->terminate();
    if (!m_server->waitForFinished(3000)) {
        m_server->kill();
        m_server->waitForFinished(3000);
    }
}

QProcessEnvironment XvfbServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}
