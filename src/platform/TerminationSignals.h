#pragma once
#include <QObject>
#include <csignal>

class QSocketNotifier;

// SIGTERM and SIGHUP, caught safely: the signal handler only writes the signal's number into a
// pipe; a socket notifier reads it on the interface thread, which reports it through `received`.
// Only one instance catches the signals at a time; the handlers that were there before come back
// when it goes.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;

    // False when the signals could not be caught (another instance has them, or no pipe).
    bool isActive() const { return m_notifier != nullptr; }

signals:
    void received(int signalNumber);

private:
    void readPipe();

    int m_pipe[2] = {-1, -1};
    QSocketNotifier *m_notifier = nullptr;
    struct sigaction m_previousTerm = {};
    struct sigaction m_previousHup = {};
};
