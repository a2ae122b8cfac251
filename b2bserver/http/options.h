#pragma once
// Command line of korvel-b2b-server.
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <stdexcept>

#include "demodata.h"

namespace http {

struct ServerOptions {
    QString database;          // SQLite path or postgresql:// URL; empty: the demo database
    QString host = QStringLiteral("127.0.0.1");
    int port = 9090;           // remote calls; 0 picks a free port
    int webPort = 8080;        // web paths; 0 picks a free port
    int threads = 64;          // connections served at once on the call port
    bool demo = false;
    store::DemoOptions demoOptions;
    QList<QPair<QString, QString>> registrations;  // computer identifier -> user name
    int clientVersion = 2;
    QStringList faults;
    bool help = false;
};

class OptionError : public std::runtime_error {
public:
    explicit OptionError(const QString &message) : std::runtime_error(message.toStdString()) {}
};

// Parses the arguments after the program name. Throws OptionError.
ServerOptions parseOptions(const QStringList &arguments);
QString usageText();

} // namespace http
