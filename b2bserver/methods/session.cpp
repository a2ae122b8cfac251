// Session group: the session record of a computer and the staff desk's counts.
#include "session.h"

#include "baglantiu.h"
#include "dispatch.h"
#include "sqlquery.h"
#include "store.h"

namespace methods {

using store::SqlQuery;

SessionUser checkSession(QSqlDatabase &db, const TSonucBilgisi *record, int account)
{
    if (!record)
        throw MethodError(QStringLiteral("Oturum bilgisi gönderilmedi."));
    SqlQuery q(db, QStringLiteral("SELECT k.sirano, k.musteritipi, COALESCE(k.carino, 0), k.adi, k.sifre, k.aktif "
                                  "FROM bilgisayarlar b JOIN kullanicilar k ON k.sirano = b.sirano "
                                  "WHERE b.bilgisayarid = ?"));
    q.bind(record->BILGISAYARID()).exec();
    if (!q.next())
        throw MethodError(QStringLiteral("Bu bilgisayar sistemde kayıtlı değil."));
    SessionUser user{q.toInt(0), q.toInt(1), q.toInt(2), q.toString(3)};
    if (q.toInt(5) != 1)
        throw MethodError(QStringLiteral("Kullanıcı hesabınız pasif durumda."));
    if (q.toString(4) != record->SIFRE() || user.sirano != record->Sirano())
        throw MethodError(QStringLiteral("Oturum bilgisi geçersiz, lütfen yeniden giriş yapın."));
    const int target = account < 0 ? record->CARINO() : account;
    if (user.isStaff()) {
        SqlQuery exists(db, QStringLiteral("SELECT COUNT(*) FROM cariler WHERE carino = ?"));
        if (target != 0 && exists.bind(target).scalar().toInt() == 0)
            throw MethodError(QStringLiteral("Cari hesap bulunamadı."));
    } else if (target != user.account || record->CARINO() != user.account) {
        throw MethodError(QStringLiteral("Bu cari hesap için yetkiniz yok."));
    }
    return user;
}

namespace {

void buyukGetir(Call &call, Reply &reply)
{
    const QString id = call.text(0);
    auto record = std::make_shared<TSonucBilgisi>();
    record->SetBILGISAYARID(id);
    record->SetVersion(call.settings().clientVersion);
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
                           "SELECT k.sirano, k.adi, k.sifre, k.mail, k.musteritipi, k.aktif, COALESCE(k.carino, 0), "
                           "COALESCE(c.cariadi, ''), COALESCE(c.carikod, ''), COALESCE(s.saticino, 0), "
                           "COALESCE(s.adi, ''), COALESCE(s.mail, ''), COALESCE(s.telefon, ''), k.surum, "
                           "b.bilgisayaradi "
                           "FROM bilgisayarlar b JOIN kullanicilar k ON k.sirano = b.sirano "
                           "LEFT JOIN cariler c ON c.carino = k.carino "
                           "LEFT JOIN saticilar s ON s.saticino = COALESCE(c.saticino, k.saticino) "
                           "WHERE b.bilgisayarid = ?"));
        q.bind(id).exec();
        if (!q.next()) {
            record->SetVarmi(false);
            return;
        }
        record->SetVarmi(true);
        record->SetSirano(q.toInt(0));
        record->SetADI(q.toString(1));
        record->SetSIFRE(q.toString(2));
        record->SetKullanicimail(q.toString(3));
        record->SetMusteriTipi(q.toInt(4));
        record->SetAKTIF(q.toInt(5));
        record->SetCARINO(q.toInt(6));
        record->SetCariAdi(q.toString(7));
        record->Setcarikod(q.toString(8));
        record->SetSaticiNo(q.toInt(9));
        record->SetSaticiAdi(q.toString(10));
        record->SetSaticiMail(q.toString(11));
        record->SetSaticiTelefon(q.toString(12));
        if (!q.isNull(13))
            record->SetVersion(q.toInt(13));
        record->SetBilgiSayarAdi(q.toString(14));
    });
    reply.setResult(Value::record(wire::ValueKind::SonucBilgisi, std::move(record)));
}

// Number of accounts with an order in each preparation state.
void tusSonuclariVer(Call &call, Reply &reply)
{
    auto counts = std::make_shared<TTusSonuclari>();
    call.store().read([&](QSqlDatabase &db) {
        const SessionUser user = checkSession(db, call.record<TSonucBilgisi>(0));
        QString sql = QStringLiteral("SELECT durum, COUNT(DISTINCT carino) FROM siparisler ");
        if (!user.isStaff())
            sql += QStringLiteral("WHERE carino = ? ");
        sql += QStringLiteral("GROUP BY durum");
        SqlQuery q(db, sql);
        if (!user.isStaff())
            q.bind(user.account);
        q.exec();
        while (q.next()) {
            const int n = q.toInt(1);
            switch (q.toInt(0)) {
            case 2: counts->SetAlindi(n); break;
            case 3: counts->SetOnaylandi(n); break;
            case 4: counts->SetGoruldu(n); break;
            case 5: counts->SetParcaliHazirlandi(n); break;
            case 6: counts->SetHazirlandi(n); break;
            case 7: counts->SetSevkEdildi(n); break;
            default: break;
            }
        }
    });
    reply.setResult(Value::record(wire::ValueKind::TusSonuclari, std::move(counts)));
}

} // namespace

void registerSessionMethods(MethodTable &table)
{
    table.add(QStringLiteral("BuyukGetir"), buyukGetir);
    table.add(QStringLiteral("TusSonuclariVer"), tusSonuclariVer);
}

} // namespace methods
