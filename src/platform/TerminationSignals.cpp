#include "platform/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler cannot be handed any context: it finds the pipe here. This is the one piece of
// process-wide state, set and cleared only by the instance that owns the pipe.
volatile sig_atomic_t writeEnd = -1;

extern "C" void onSignal(int signalNumber)
{
    const int savedErrno = errno;
    const char byte = char(signalNumber);
    if (writeEnd >= 0 && ::write(writeEnd, &byte, 1) < 0) {
        // A full pipe already holds a signal that is still to be read: nothing is lost.
    }
    errno = savedErrno;
}

} // namespace

TerminationSignals::TerminationSignals(QObject *parent) : QObject(parent)
{
    if (writeEnd >= 0 || ::pipe2(m_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    writeEnd = m_pipe[1];
    m_notifier = new QSocketNotifier(m_pipe[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &TerminationSignals::readPipe);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, &m_previousTerm);
    sigaction(SIGHUP, &action, &m_previousHup);
}

TerminationSignals::~TerminationSignals()
{
    if (!m_notifier)
        return;
    sigaction(SIGTERM, &m_previousTerm, nullptr);
    sigaction(SIGHUP, &m_previousHup, nullptr);
    writeEnd = -1;
    delete m_notifier;
    ::close(m_pipe[0]);
    ::close(m_pipe[1]);
}

void TerminationSignals::readPipe()
{
    char bytes[16];
    ssize_t count;
    while ((count = ::read(m_pipe[0], bytes, sizeof bytes)) > 0)
        for (ssize_t i = 0; i < count; ++i)
            emit received(int(bytes[i]));
}
