#pragma once
// A throwaway PostgreSQL cluster for tests: initdb in a temporary folder, started on a
// loopback port chosen here, removed again on destruction. initdb refuses to run as root,
// so under root the cluster belongs to the `postgres` user.
#include <QString>
#include <QTemporaryDir>

#include <memory>

class PgCluster {
public:
    PgCluster();
    ~PgCluster();

    // Empty when the cluster runs; otherwise why it could not be started. `skip` is set
    // when PostgreSQL is not installed at all (the only acceptable reason to skip).
    QString start(bool *skip);
    bool isRunning() const { return m_running; }
    int port() const { return m_port; }
    // A new, empty database of the cluster as a connection string for the store.
    QString createDatabase(QString *error);

private:
    QString run(const QStringList &command, QString *output = nullptr);

    QString m_bin;
    QString m_dir;
    int m_port = 0;
    int m_databases = 0;
    bool m_running = false;
    bool m_asPostgres = false;
};
