#pragma once
// Runs an executable as a child of the test: starts it with arguments, waits for its ready
// line on stdout and stops it again (SIGTERM, then kill) when the object goes away.
//
//     testsupport::ChildProcess server;
//     QVERIFY2(server.start(KORVEL_SERVER_BIN, {"--port", "0", "--db", dbPath}), qPrintable(server.errorString()));
//     connect to 127.0.0.1:server.port() ...
//
// The substitute server announces itself with "ready <port> <web-port>". The child's stderr goes
// straight to the test's stderr, so its diagnostics show up in the test log; its stdout is read
// for the ready line and kept afterwards (the last 64 KiB).
#include <QByteArray>
#include <QObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

class QProcess;

namespace testsupport {

class ChildProcess : public QObject {
    Q_OBJECT
public:
    explicit ChildProcess(QObject *parent = nullptr);
    ~ChildProcess() override;

    void setEnvironment(const QProcessEnvironment &environment) { m_environment = environment; }
    void setWorkingDirectory(const QString &dir) { m_workingDirectory = dir; }

    // Starts the program and waits up to timeoutMs for a stdout line whose first word is
    // readyWord. False (see errorString) when it cannot start, exits or stays silent.
    bool start(const QString &program, const QStringList &arguments, const QString &readyWord = QStringLiteral("ready"),
               int timeoutMs = 15000);
    // Sends SIGTERM, waits up to graceMs, then kills. Returns the exit code, or -1 when killed.
    int stop(int graceMs = 5000);

    bool isRunning() const;
    QString errorString() const { return m_error; }
    // Words after readyWord on the ready line, and the first two as ports (0 when absent).
    QStringList readyFields() const { return m_readyFields; }
    int port() const { return portField(0); }
    int webPort() const { return portField(1); }
    QByteArray output() const { return m_output; }
    QProcess *process() const { return m_process; }

private:
    int portField(int i) const;
    void readOutput();

    QProcess *m_process;
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();
    QString m_workingDirectory;
    QString m_error;
    QStringList m_readyFields;
    QByteArray m_output;
};

} // namespace testsupport
