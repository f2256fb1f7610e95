#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>

// An X server of the test's own (Xvfb), on a display number drawn at random, driven with xdotool.
class VirtualDisplay
{
public:
    // An unusual screen size, so that a probe knows the display is ours: each test program its own.
    VirtualDisplay(int width, int height) : m_width(width), m_height(height) {}
    ~VirtualDisplay();

    // Whether Xvfb and xdotool are installed.
    static bool toolsInstalled();
    // Starts the server, trying several display numbers; false when none could be started.
    bool start();
    // ":N" of the running server.
    QString name() const { return m_display; }
    // Runs xdotool on the display; its output, trimmed.
    QString xdotool(const QStringList &arguments) const;
    // A visible window of the program whose name matches, once there is one (within 20 s); empty
    // when none came or the program ended.
    QString waitForWindow(const QProcess &app, const QString &name) const;

private:
    bool startOn(int number);

    const int m_width, m_height;
    QProcess m_server;
    QString m_display;
};
