// Mail group: the account card of a computer and the mail outbox.
#include "dispatch.h"
#include "methodhelpers.h"
#include "mobilstokunit.h"
#include "sqlquery.h"
#include "store.h"

#include <QDateTime>

namespace methods {

using store::SqlQuery;

namespace {

// The card of the account of a user: by user number when `sirano` is positive, else of
// the user the computer identifier belongs to. Unknown: a null record.
void mobilCariBilgisiGetir(Call &call, Reply &reply)
{
    const int sirano = call.integer(0);
    const QString computer = call.text(1);
    std::shared_ptr<TMobilCariBilgisi> card;
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
                           "SELECT c.il, c.fax1, COALESCE(sa.mail, ''), COALESCE(sa.adi, ''), c.cariadi, c.email, "
                           "c.vergidairesi, c.yetkili, c.altgrup, c.tel2, k.sifre, c.gsm, c.tel1, c.adres2, "
                           "COALESCE((SELECT SUM(h.borc) FROM cari_hareketler h WHERE h.carino = c.carino), 0), "
                           "COALESCE((SELECT SUM(h.alacak) FROM cari_hareketler h WHERE h.carino = c.carino), 0), "
                           "c.adres1, c.ulke, c.anagrup, c.carino, c.vergino, k.mail, c.ozelkod, k.adi, "
                           "COALESCE(sa.telefon, ''), c.carikod, c.fax2, c.ilce, "
                           "COALESCE((SELECT MIN(b.bilgisayarid) FROM bilgisayarlar b WHERE b.sirano = k.sirano), '') "
                           "FROM kullanicilar k JOIN cariler c ON c.carino = k.carino "
                           "LEFT JOIN saticilar sa ON sa.saticino = c.saticino WHERE ") +
                           (sirano > 0 ? QStringLiteral("k.sirano = ?")
                                       : QStringLiteral("k.sirano = (SELECT b.sirano FROM bilgisayarlar b "
                                                        "WHERE b.bilgisayarid = ?)")));
        if (sirano > 0)
            q.bind(sirano);
        else
            q.bind(computer);
        q.exec();
        if (!q.next())
            return;
        card = std::make_shared<TMobilCariBilgisi>();
        card->SetBILGISAYARID(sirano > 0 ? q.toString(28) : computer);
        card->SetSEHIR(q.toString(0));
        card->SetFAX1(q.toString(1));
        card->SetSATICIMAIL(q.toString(2));
        card->SetSATICIADI(q.toString(3));
        card->SetCARIADI(q.toString(4));
        card->SetEMAIL(q.toString(5));
        card->SetVERGIDAIRESI(q.toString(6));
        card->SetYETKILI(q.toString(7));
        card->SetAltGrup(q.toString(8));
        card->SetTEL2(q.toString(9));
        card->SetSIFRE(q.toString(10));
        card->SetGSM(q.toString(11));
        card->SetTEL1(q.toString(12));
        card->SetADRES2(q.toString(13));
        card->SetTLBORC(q.toDouble(14));
        card->SetTLALACAK(q.toDouble(15));
        card->SetADRES1(q.toString(16));
        card->SetULKE(q.toString(17));
        card->SetAnaGrup(q.toString(18));
        card->SetCARINO(q.toInt(19));
        card->SetTLBAKIYE(q.toDouble(14) - q.toDouble(15));
        card->SetVERGINO(q.toString(20));
        card->SetMAIL(q.toString(21));
        card->SetOzelKod(q.toString(22));
        card->SetKULLANICIADI(q.toString(23));
        card->SetSATICITELEFON(q.toString(24));
        card->SetCARIKOD(q.toString(25));
        card->SetFAX2(q.toString(26));
        card->SetILCE(q.toString(27));
    });
    reply.setResult(Value::record(wire::ValueKind::MobilCariBilgisi, std::move(card)));
}

const char *const mailFields[] = {"idsi",    "baslik",  "firmaadi", "adres1", "adres2",       "ilce",
                                  "sehir",   "telefon", "fax",      "vd",     "vn",           "yetkili",
                                  "kullaniciadi", "sifre", "mail",  "kargoambar", "konu"};

// Stores the mail with every field in the outbox (sent by the wholesaler's mailer);
// answers the outbox number. `kind` tells a plain mail from a password change request.
Handler storeMail(const QString &kind, bool withBody)
{
    return [kind, withBody](Call &call, Reply &reply) {
        const int count = withBody ? 17 : 16;
        for (int i = 0; i < count; ++i)
            requireLength(call.text(i), i == 16 ? 20000 : 250, QString::fromLatin1(mailFields[i]));
        if (call.text(1).trimmed().isEmpty())
            throw MethodError(QStringLiteral("Mail başlığı boş olamaz."));
        if (withBody && call.text(16).trimmed().isEmpty())
            throw MethodError(QStringLiteral("Mail metni boş olamaz."));
        int number = 0;
        call.store().write([&](QSqlDatabase &db) {
            QString columns = QStringLiteral("tarih, tur");
            QString marks = QStringLiteral("?, ?");
            for (int i = 0; i < count; ++i) {
                columns += QStringLiteral(", ") + QString::fromLatin1(mailFields[i]);
                marks += QStringLiteral(", ?");
            }
            SqlQuery q(db, QStringLiteral("INSERT INTO mail_kutusu (%1) VALUES (%2) RETURNING mailno").arg(columns,
                                                                                                        marks));
            q.bind(QDateTime::currentDateTime().toString(Qt::ISODate)).bind(kind);
            for (int i = 0; i < count; ++i)
                q.bind(call.text(i));
            number = q.scalar().toInt();
        });
        reply.setResult(Value::integer(number));
    };
}

} // namespace

void registerMailMethods(MethodTable &table)
{
    table.add(QStringLiteral("MobilCariBilgisiGetir"), mobilCariBilgisiGetir);
    table.add(QStringLiteral("MailGonserCariNormal"), storeMail(QStringLiteral("mail"), true));
    table.add(QStringLiteral("MailGonserCari"), storeMail(QStringLiteral("sifre"), false));
}

} // namespace methods
