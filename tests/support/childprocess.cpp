#include "childprocess.h"

#include <QDeadlineTimer>
#include <QProcess>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace testsupport {

namespace {
constexpr qsizetype keptOutput = 64 * 1024;
}

ChildProcess::ChildProcess(QObject *parent) : QObject(parent), m_process(new QProcess(this))
{
    m_process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A test process may end without unwinding (scenarios that end the process at once);
    // the child must not outlive it.
    m_process->setChildProcessModifier([] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() == 1)
            ::raise(SIGTERM);
    });
}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::isRunning() const
{
    return m_process->state() != QProcess::NotRunning;
}

int ChildProcess::portField(int i) const
{
    return i < m_readyFields.size() ? m_readyFields.at(i).toInt() : 0;
}

void ChildProcess::readOutput()
{
    m_output += m_process->readAllStandardOutput();
    if (m_output.size() > keptOutput)
        m_output.remove(0, m_output.size() - keptOutput);
}

bool ChildProcess::start(const QString &program, const QStringList &arguments, const QString &readyWord,
                         int timeoutMs)
{
    if (isRunning())
        stop();
    m_error.clear();
    m_readyFields.clear();
    m_output.clear();
    m_process->disconnect(this);
    m_process->setProcessEnvironment(m_environment);
    m_process->setWorkingDirectory(m_workingDirectory);
    m_process->start(program, arguments, QIODevice::ReadOnly);
    if (!m_process->waitForStarted(timeoutMs)) {
        m_error = QStringLiteral("%1 başlatılamadı: %2").arg(program, m_process->errorString());
        return false;
    }

    QDeadlineTimer deadline(timeoutMs);
    QByteArray seen;
    for (;;) {
        while (m_process->canReadLine()) {
            const QByteArray line = m_process->readLine();
            seen += line;
            const QStringList words = QString::fromUtf8(line).simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (!words.isEmpty() && words.first() == readyWord) {
                m_readyFields = words.mid(1);
                m_output = seen;
                // From here on stdout is collected whenever the test runs an event loop.
                connect(m_process, &QProcess::readyReadStandardOutput, this, &ChildProcess::readOutput);
                readOutput();
                return true;
            }
        }
        if (m_process->state() == QProcess::NotRunning) {
            m_error = QStringLiteral("%1 hazır olmadan sona erdi (çıkış kodu %2). Çıktı:\n%3")
                          .arg(program)
                          .arg(m_process->exitCode())
                          .arg(QString::fromUtf8(seen + m_process->readAllStandardOutput()));
            return false;
        }
        if (deadline.hasExpired()) {
            m_error = QStringLiteral("%1 %2 ms içinde '%3' satırını yazmadı. Çıktı:\n%4")
                          .arg(program)
                          .arg(timeoutMs)
                          .arg(readyWord, QString::fromUtf8(seen + m_process->peek(keptOutput)));
            stop();
            return false;
        }
        m_process->waitForReadyRead(int(qBound(qint64(1), deadline.remainingTime(), qint64(100))));
    }
}

int ChildProcess::stop(int graceMs)
{
    if (!isRunning())
        return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
    m_process->terminate();
    if (!m_process->waitForFinished(graceMs)) {
        m_process->kill();
        m_process->waitForFinished(5000);
        readOutput();
        return -1;
    }
    readOutput();
    return m_process->exitStatus() == QProcess::NormalExit ? m_process->exitCode() : -1;
}

} // namespace testsupport
