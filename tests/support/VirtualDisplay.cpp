#include "support/VirtualDisplay.h"

#include <QDeadlineTimer>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTest>

VirtualDisplay::~VirtualDisplay()
{
    if (m_server.state() == QProcess::Running) {
        m_server.terminate();
        if (!m_server.waitForFinished(5000))
            m_server.kill();
    }
}

bool VirtualDisplay::toolsInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()
        && !QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty();
}

// The server's lock refuses a number another test run already holds; numbers are drawn at random,
// since process ids repeat from one sandbox to the next.
bool VirtualDisplay::start()
{
    for (int attempt = 0; attempt < 20; ++attempt)
        if (startOn(QRandomGenerator::system()->bounded(200, 30000)))
            return true;
    return false;
}

QString VirtualDisplay::xdotool(const QStringList &arguments) const
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// False when that display is taken or cannot be reached. The server writes the number to standard
// output once it accepts connections; the display is then probed, and only ours has this unusual
// screen size. Without -noreset the server resets whenever its last client leaves, and a program
// connecting during that reset is turned away: each xdotool call is such a client.
bool VirtualDisplay::startOn(int number)
{
    m_server.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(number), QStringLiteral("-displayfd"), QStringLiteral("1"),
                                            QStringLiteral("-screen"), QStringLiteral("0"),
                                            QStringLiteral("%1x%2x24").arg(m_width).arg(m_height), QStringLiteral("-nolisten"),
                                            QStringLiteral("tcp"), QStringLiteral("-noreset")});
    if (!m_server.waitForStarted(10000))
        return false;
    QDeadlineTimer deadline(15000);
    while (!m_server.canReadLine() && !deadline.hasExpired() && m_server.state() == QProcess::Running)
        m_server.waitForReadyRead(200);
    if (m_server.readLine().trimmed().toInt() == number && m_server.state() == QProcess::Running) {
        m_display = QStringLiteral(":%1").arg(number);
        if (xdotool({QStringLiteral("getdisplaygeometry")}) == QStringLiteral("%1 %2").arg(m_width).arg(m_height))
            return true;
        qWarning("display %d is not the server just started; trying another", number);
    }
    m_display.clear();
    m_server.kill();
    m_server.waitForFinished(5000);
    return false;
}

QString VirtualDisplay::waitForWindow(const QProcess &app, const QString &name) const
{
    const QString pid = QString::number(app.processId());
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && app.state() == QProcess::Running) {
        const QString found = xdotool({"search", "--all", "--onlyvisible", "--pid", pid, "--name", name}).section('\n', 0, 0);
        if (!found.isEmpty())
            return found;
        QTest::qWait(200);
    }
    return QString();
}
