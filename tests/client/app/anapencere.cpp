#include "anapencere.h"

#include "disip.h"
#include "modaldialog.h"
#include "unit1.h"
#include "utils.h"
#include "utilsmachine.h"

#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

namespace anapencere {

namespace {

QString sifre(int tip)
{
    return QStringLiteral("SIFRE%1").arg(tip);
}

// Runs statements on the server's database; the server reads it afresh on every call.
bool sql(const QString &db, const QStringList &statements, QString &error)
{
    bool ok = true;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("anapencere"));
        d.setDatabaseName(db);
        ok = d.open();
        QSqlQuery q(d);
        for (const QString &s : statements) {
            if (ok && !q.exec(s)) {
                error = q.lastError().text();
                ok = false;
            }
        }
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("anapencere"));
    return ok;
}

} // namespace

QString kullaniciAdi(int tip)
{
    return QStringLiteral("KULLANICI%1").arg(tip);
}

bool Sunucu::baslat(const QStringList &faults)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.filePath(QStringLiteral("config"))));
    m_db = m_dir.filePath(QStringLiteral("b2b.sqlite"));
    QStringList args{QStringLiteral("--db"), m_db, QStringLiteral("--port"), QStringLiteral("0"),
                     QStringLiteral("--web-port"), QStringLiteral("0"), QStringLiteral("--demo"),
                     QStringLiteral("--demo-stock"), QStringLiteral("60"), QStringLiteral("--demo-accounts"),
                     QStringLiteral("3")};
    for (const QString &f : faults)
        args << QStringLiteral("--fault") << f;
    if (!m_process.start(QStringLiteral(KORVEL_SERVER_BIN), args)) {
        m_error = m_process.errorString();
        return false;
    }
    QStringList users;
    for (int tip = 0; tip <= 4; ++tip)
        users << QStringLiteral("INSERT INTO kullanicilar (sirano, adi, sifre, musteritipi, aktif, carino, saticino) "
                                "VALUES (%1, '%2', '%3', %4, 1, (SELECT MIN(carino) FROM cariler), "
                                "(SELECT MIN(saticino) FROM saticilar))")
                     .arg(950 + tip)
                     .arg(kullaniciAdi(tip), sifre(tip))
                     .arg(tip);
    if (!sql(m_db, users, m_error))
        return false;
    SetSunucuPortu(QString::number(m_process.port()));
    SetDisIpAdresi(QStringLiteral("http://127.0.0.1:%1/ip").arg(m_process.webPort()));
    return true;
}

bool Sunucu::kullaniciSec(int tip)
{
    return sql(m_db,
               {QStringLiteral("INSERT OR REPLACE INTO bilgisayarlar (bilgisayarid, sirano) VALUES ('%1', %2)")
                    .arg(BilgisayarIdAl())
                    .arg(950 + tip)},
               m_error);
}

std::unique_ptr<TForm1> ac(int tip)
{
    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer login;
    login.button = QStringLiteral("Giriş");
    login.title = QStringLiteral("Giriş");
    login.inspect = [tip](QWidget *form) {
        form->findChild<QLineEdit *>(QStringLiteral("adi"))->setText(kullaniciAdi(tip));
        form->findChild<QLineEdit *>(QStringLiteral("sifre"))->setText(sifre(tip));
    };
    dialogs.expect(login);
    auto f = std::make_unique<TForm1>();
    if (!dialogs.waitDone()) {
        qWarning("login not answered: %s", qPrintable(dialogs.failure()));
        return nullptr;
    }
    return f;
}

} // namespace anapencere
