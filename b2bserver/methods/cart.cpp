// Cart group: the server-side cart of an account.
#include "dispatch.h"
#include "pricing.h"
#include "sqlquery.h"
#include "store.h"
#include "tables.h"

#include "table.h"

namespace methods {

using store::SqlQuery;
using T = wire::ColumnType;

namespace {

void sepetVer2(Call &call, Reply &reply)
{
    wire::Table table;
    call.store().read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral(
            "SELECT s.sec, s.tarih || 'T' || s.saat, s.barkod, st.kod, st.oemno, s.stokadi, s.miktar, "
            "s.birimfiyat, s.tutar, '', s.iskonto1, s.iskonto2, s.iskonto3, s.iskonto4, s.netbirimfiyat, s.kdv, "
            "s.vergitutari, s.nettutar, COALESCE(k.adi, ''), st.durum, '', s.tarih, s.kur, s.saat, s.aciklama, "
            "st.oem1, st.oem2, st.oem3, st.oem4, st.digeradi, st.dpkod, st.marka, st.model, st.anagrup, "
            "st.ozelkod, st.pkod, s.sirano, s.carino, 0, s.stokno, s.indirimtutar, s.kurtl, s.verenid, 0, 0, 0, "
            "s.verenid, c.carikod, c.cariadi, s.stokno, st.ureticikodu, st.kalan, s.kampanya "
            "FROM sepet s JOIN stoklar st ON st.stokno = s.stokno JOIN cariler c ON c.carino = s.carino "
            "LEFT JOIN kullanicilar k ON k.sirano = s.verenid "
            "WHERE s.carino = ? ORDER BY s.sirano"));
        q.bind(call.integer(0)).exec();
        table = tableFromQuery(q, {{"SEC", T::Int32},
                                   {"VERILISTARIHI", T::DateTime},
                                   {"BARKOD", T::String, 50},
                                   {"FINISHKOD", T::String, 50},
                                   {"OEMNO", T::String, 50},
                                   {"STOKADI", T::String, 200},
                                   {"MIKTAR", T::Double},
                                   {"BIRIMFIYAT", T::Double},
                                   {"TUTAR", T::Double},
                                   {"INDIRIMYAZI", T::String, 30},
                                   {"INDIRIMORANI1", T::Double},
                                   {"INDIRIMORANI2", T::Double},
                                   {"INDIRIMORANI3", T::Double},
                                   {"INDIRIMORANI4", T::Double},
                                   {"NETBIRIMFIYAT", T::Double},
                                   {"KDV", T::Double},
                                   {"VERGITUTARI", T::Double},
                                   {"NETTUTAR", T::Double},
                                   {"VEREN", T::String, 50},
                                   {"DURUM", T::Int32},
                                   {"SIPARISNO", T::String, 20},
                                   {"TARIH", T::Date},
                                   {"KUR", T::String, 5},
                                   {"SAAT", T::String, 10},
                                   {"ACIKLAMA", T::String, 200},
                                   {"OEM1", T::String, 50},
                                   {"OEM2", T::String, 50},
                                   {"OEM3", T::String, 50},
                                   {"OEM4", T::String, 50},
                                   {"DIGERADI", T::String, 200},
                                   {"DPKOD", T::String, 20},
                                   {"MARKA", T::String, 50},
                                   {"MODEL", T::String, 50},
                                   {"ANAGRUP", T::String, 50},
                                   {"OZELKOD", T::String, 50},
                                   {"PKOD", T::String, 20},
                                   {"SIRANO", T::Int32},
                                   {"CARINO", T::Int32},
                                   {"AKTAR", T::Int32},
                                   {"STOKNO", T::Int32},
                                   {"INDIRIMTUTAR", T::Double},
                                   {"KURTL", T::Double},
                                   {"VERENIDNO", T::Int32},
                                   {"TESLIMID", T::Int32},
                                   {"KARGOID", T::Int32},
                                   {"IDNO", T::Int32},
                                   {"VERENSIRANO", T::Int32},
                                   {"CARIKOD", T::String, 30},
                                   {"CARIADI", T::String, 200},
                                   {"STOK_STOKNO", T::Int32},
                                   {"URETICIKODU", T::String, 50},
                                   {"KALAN", T::Double},
                                   {"K", T::Int32}});
    });
    // INDIRIMYAZI shows the four rates the way the lists write them.
    const int text = table.indexOf(QStringLiteral("INDIRIMYAZI"));
    const int rate1 = table.indexOf(QStringLiteral("INDIRIMORANI1"));
    for (int r = 0; r < table.rowCount(); ++r)
        table.setText(r, text,
                      store::discountText(table.realValue(r, rate1), table.realValue(r, rate1 + 1),
                                          table.realValue(r, rate1 + 2), table.realValue(r, rate1 + 3)));
    reply.setResult(Value::table(std::move(table)));
}

void sepetSecimGuncelle(Call &call, Reply &)
{
    const int line = call.integer(0);
    const int selected = call.integer(1);
    if (selected != 0 && selected != 1)
        throw MethodError(QStringLiteral("Seçim değeri 0 ya da 1 olmalı."));
    call.store().write([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("UPDATE sepet SET sec = ? WHERE sirano = ?"));
        q.bind(selected).bind(line).exec();
        if (q.numRowsAffected() != 1)
            throw MethodError(QStringLiteral("Sepet satırı bulunamadı."));
    });
}

} // namespace

void registerCartMethods(MethodTable &table)
{
    table.add(QStringLiteral("SepetVer2"), sepetVer2);
    table.add(QStringLiteral("SepetSecimGuncelle"), sepetSecimGuncelle);
}

} // namespace methods
