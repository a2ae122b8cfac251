#include "schema.h"

#include "sqlquery.h"
#include "store.h"

#include <QStringList>

namespace store {

namespace {

// Column types that differ between the two databases are written as placeholders:
//   {ID}    generated integer key
//   {BLOB}  binary data
// Dates are ISO text ("YYYY-MM-DD", times "HH:MM:SS"), so they compare correctly as text
// on both databases. Flags are integers 0/1. Amounts are DOUBLE PRECISION.
const char *const version1[] = {
    // Sales representatives of the wholesaler (the account's contact person on our side).
    R"(CREATE TABLE saticilar (
        saticino INTEGER PRIMARY KEY,
        adi TEXT NOT NULL,
        mail TEXT NOT NULL DEFAULT '',
        telefon TEXT NOT NULL DEFAULT ''))",

    // Customer accounts with their cards and default discount rates.
    R"(CREATE TABLE cariler (
        carino INTEGER PRIMARY KEY,
        carikod TEXT NOT NULL UNIQUE,
        cariadi TEXT NOT NULL,
        yetkili TEXT NOT NULL DEFAULT '',
        ozelkod TEXT NOT NULL DEFAULT '',
        anagrup TEXT NOT NULL DEFAULT '',
        altgrup TEXT NOT NULL DEFAULT '',
        kod1 TEXT NOT NULL DEFAULT '', kod2 TEXT NOT NULL DEFAULT '', kod3 TEXT NOT NULL DEFAULT '',
        kod4 TEXT NOT NULL DEFAULT '', kod5 TEXT NOT NULL DEFAULT '',
        adres1 TEXT NOT NULL DEFAULT '',
        adres2 TEXT NOT NULL DEFAULT '',
        ilce TEXT NOT NULL DEFAULT '',
        il TEXT NOT NULL DEFAULT '',
        ulke TEXT NOT NULL DEFAULT 'TÜRKİYE',
        vergidairesi TEXT NOT NULL DEFAULT '',
        vergino TEXT NOT NULL DEFAULT '',
        tel1 TEXT NOT NULL DEFAULT '', tel2 TEXT NOT NULL DEFAULT '',
        fax1 TEXT NOT NULL DEFAULT '', fax2 TEXT NOT NULL DEFAULT '',
        gsm TEXT NOT NULL DEFAULT '',
        email TEXT NOT NULL DEFAULT '',
        saticino INTEGER REFERENCES saticilar(saticino),
        durum TEXT NOT NULL DEFAULT '',
        vade INTEGER NOT NULL DEFAULT 30,
        vadekontrolgun INTEGER NOT NULL DEFAULT 0,
        vadekontrolay INTEGER NOT NULL DEFAULT 0,
        indirim DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto3 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto4 DOUBLE PRECISION NOT NULL DEFAULT 0,
        aktif INTEGER NOT NULL DEFAULT 1))",
    "CREATE INDEX cariler_adi ON cariler(cariadi)",
    "CREATE INDEX cariler_satici ON cariler(saticino)",

    // Discount rates of one account for one brand; they override the account's defaults.
    R"(CREATE TABLE cari_marka_iskonto (
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        marka TEXT NOT NULL,
        iskonto1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto3 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto4 DOUBLE PRECISION NOT NULL DEFAULT 0,
        PRIMARY KEY (carino, marka)))",

    // Users: login name (stored upper-case, compared exactly), password, kind
    // (MusteriTipi 0..4; 1 and 2 are staff), the account they act for and the version
    // of the client they are expected to run (NULL: the server's --client-version).
    R"(CREATE TABLE kullanicilar (
        sirano INTEGER PRIMARY KEY,
        adi TEXT NOT NULL UNIQUE,
        sifre TEXT NOT NULL,
        mail TEXT NOT NULL DEFAULT '',
        musteritipi INTEGER NOT NULL DEFAULT 0,
        aktif INTEGER NOT NULL DEFAULT 1,
        carino INTEGER REFERENCES cariler(carino),
        saticino INTEGER REFERENCES saticilar(saticino),
        surum INTEGER))",

    // Computer identifiers known to the server and the user each belongs to.
    R"(CREATE TABLE bilgisayarlar (
        bilgisayarid TEXT PRIMARY KEY,
        sirano INTEGER NOT NULL REFERENCES kullanicilar(sirano),
        bilgisayaradi TEXT NOT NULL DEFAULT '',
        kayittarihi TEXT NOT NULL DEFAULT ''))",
    "CREATE INDEX bilgisayarlar_kullanici ON bilgisayarlar(sirano)",

    // Requests sent through the web form by an unknown computer.
    R"(CREATE TABLE bilgisayar_istekleri (
        istekno {ID},
        tarih TEXT NOT NULL,
        bilgisayarid TEXT NOT NULL DEFAULT '',
        carino TEXT NOT NULL DEFAULT '',
        kullanici TEXT NOT NULL DEFAULT '',
        firmaadi TEXT NOT NULL DEFAULT '',
        telefon TEXT NOT NULL DEFAULT '',
        mail TEXT NOT NULL DEFAULT '',
        mesaj TEXT NOT NULL DEFAULT ''))",

    // Pictures (product pictures are shared by several items).
    R"(CREATE TABLE resimler (
        resimno INTEGER PRIMARY KEY,
        tur TEXT NOT NULL,
        veri {BLOB} NOT NULL))",

    // The catalogue. aramametni holds the names folded like the search keys (words kept)
    // for a contains-search over names. durum: 0 Yok, 1 Var, 2 Telefon Açınız, 3 Yolda, 4 Özel Sipariş,
    // 5 Tedarik Sürecinde. listefiyat is the list price (FIYAT), kampfiyat the campaign
    // price (0 when none), eskifiyat the price before the campaign.
    R"(CREATE TABLE stoklar (
        stokno INTEGER PRIMARY KEY,
        kod TEXT NOT NULL,
        barkod TEXT NOT NULL DEFAULT '',
        barkodno INTEGER NOT NULL DEFAULT 0,
        oem1 TEXT NOT NULL DEFAULT '', oem2 TEXT NOT NULL DEFAULT '',
        oem3 TEXT NOT NULL DEFAULT '', oem4 TEXT NOT NULL DEFAULT '',
        oemno TEXT NOT NULL DEFAULT '',
        arama TEXT NOT NULL DEFAULT '',
        ureticikodu TEXT NOT NULL DEFAULT '',
        dpkod TEXT NOT NULL DEFAULT '',
        pkod TEXT NOT NULL DEFAULT '',
        adi TEXT NOT NULL,
        digeradi TEXT NOT NULL DEFAULT '',
        enadi TEXT NOT NULL DEFAULT '',
        marka TEXT NOT NULL DEFAULT '',
        model TEXT NOT NULL DEFAULT '',
        anagrup TEXT NOT NULL DEFAULT '',
        altgrup TEXT NOT NULL DEFAULT '',
        ozelkod TEXT NOT NULL DEFAULT '',
        departman TEXT NOT NULL DEFAULT '',
        birim TEXT NOT NULL DEFAULT 'ADET',
        kdv DOUBLE PRECISION NOT NULL DEFAULT 20,
        koliadet INTEGER NOT NULL DEFAULT 1,
        durum INTEGER NOT NULL DEFAULT 1,
        kalan DOUBLE PRECISION NOT NULL DEFAULT 0,
        eldeki DOUBLE PRECISION NOT NULL DEFAULT 0,
        alinansiparis DOUBLE PRECISION NOT NULL DEFAULT 0,
        verilensiparis DOUBLE PRECISION NOT NULL DEFAULT 0,
        yeni INTEGER NOT NULL DEFAULT 0,
        kampanya INTEGER NOT NULL DEFAULT 0,
        listefiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        kampfiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        eskifiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        kur TEXT NOT NULL DEFAULT 'TL',
        resimno INTEGER REFERENCES resimler(resimno),
        aramametni TEXT NOT NULL DEFAULT '',
        aktif INTEGER NOT NULL DEFAULT 1))",
    "CREATE INDEX stoklar_kod ON stoklar(kod)",
    "CREATE INDEX stoklar_barkod ON stoklar(barkod)",
    "CREATE INDEX stoklar_yeni ON stoklar(yeni)",
    "CREATE INDEX stoklar_kampanya ON stoklar(kampanya)",

    // Search keys of the catalogue: every code of an item (stock code, barcode, OEM
    // codes, manufacturer code) and every word of its names, upper-case with Turkish
    // letters folded to Latin and anything but letters and digits removed (see
    // searchKey()). A prefix search is a range scan on the primary key.
    R"(CREATE TABLE stok_anahtarlari (
        anahtar TEXT NOT NULL,
        stokno INTEGER NOT NULL REFERENCES stoklar(stokno),
        PRIMARY KEY (anahtar, stokno)))",

    // Delivery kinds, cargo kinds and cargo companies of each kind.
    R"(CREATE TABLE teslim_cinsleri (
        teslimid INTEGER PRIMARY KEY,
        adi TEXT NOT NULL,
        sira INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE kargo_cinsleri (
        kargoid INTEGER PRIMARY KEY,
        adi TEXT NOT NULL,
        sira INTEGER NOT NULL DEFAULT 0))",
    R"(CREATE TABLE kargo_firmalari (
        sirano INTEGER PRIMARY KEY,
        kargoid INTEGER NOT NULL REFERENCES kargo_cinsleri(kargoid),
        adi TEXT NOT NULL,
        uyari TEXT NOT NULL DEFAULT '',
        sira INTEGER NOT NULL DEFAULT 0))",
    "CREATE INDEX kargo_firmalari_cins ON kargo_firmalari(kargoid)",

    // Cart lines, one cart per account. sec: 1 selected. The amounts are computed by the
    // server when a line is written: tutar = miktar * birimfiyat; indirimtutar from the
    // four rates applied one after the other; nettutar = tutar - indirimtutar;
    // vergitutari = nettutar * kdv / 100; netbirimfiyat = nettutar / miktar.
    R"(CREATE TABLE sepet (
        sirano {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        stokno INTEGER NOT NULL REFERENCES stoklar(stokno),
        barkod TEXT NOT NULL DEFAULT '',
        stokadi TEXT NOT NULL DEFAULT '',
        miktar DOUBLE PRECISION NOT NULL,
        birimfiyat DOUBLE PRECISION NOT NULL,
        kdv DOUBLE PRECISION NOT NULL,
        iskonto1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto3 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto4 DOUBLE PRECISION NOT NULL DEFAULT 0,
        kampanya INTEGER NOT NULL DEFAULT 0,
        sec INTEGER NOT NULL DEFAULT 1,
        verenid INTEGER NOT NULL DEFAULT 0,
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        aciklama TEXT NOT NULL DEFAULT '',
        kur TEXT NOT NULL DEFAULT 'TL',
        kurtl DOUBLE PRECISION NOT NULL DEFAULT 1,
        tutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        indirimtutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        nettutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        vergitutari DOUBLE PRECISION NOT NULL DEFAULT 0,
        netbirimfiyat DOUBLE PRECISION NOT NULL DEFAULT 0))",
    "CREATE INDEX sepet_cari ON sepet(carino)",

    // Lines removed from a cart, with the reason given.
    R"(CREATE TABLE sepet_silinenler (
        kayitno {ID},
        tarih TEXT NOT NULL,
        carino INTEGER NOT NULL,
        sepetsirano INTEGER NOT NULL,
        stokno INTEGER NOT NULL,
        miktar DOUBLE PRECISION NOT NULL,
        verenid INTEGER NOT NULL DEFAULT 0,
        aciklama TEXT NOT NULL DEFAULT ''))",

    // Orders. durum is the preparation state, numbered as the staff desk lists them:
    // 2 Alındı, 3 Onaylandı, 4 Görüldü, 5 Parçalı Hazırlandı, 6 Hazırlandı, 7 Sevk Edildi.
    // aciklama is the customer's note, alannotu the wholesaler's, saticinotu the sales
    // representative's.
    R"(CREATE TABLE siparisler (
        idno {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        siparisno TEXT NOT NULL DEFAULT '',
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        verenid INTEGER NOT NULL DEFAULT 0,
        veren TEXT NOT NULL DEFAULT '',
        teslimid INTEGER REFERENCES teslim_cinsleri(teslimid),
        kargoid INTEGER REFERENCES kargo_cinsleri(kargoid),
        kargofirmano INTEGER REFERENCES kargo_firmalari(sirano),
        aciklama TEXT NOT NULL DEFAULT '',
        alannotu TEXT NOT NULL DEFAULT '',
        saticinotu TEXT NOT NULL DEFAULT '',
        durum INTEGER NOT NULL DEFAULT 2,
        kur TEXT NOT NULL DEFAULT 'TL',
        kurtl DOUBLE PRECISION NOT NULL DEFAULT 1,
        tutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        indirimtutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        nettutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        vergi DOUBLE PRECISION NOT NULL DEFAULT 0))",
    "CREATE INDEX siparisler_cari ON siparisler(carino, tarih)",
    "CREATE INDEX siparisler_durum ON siparisler(durum)",

    // Order lines; kalan (still open) = miktar - teslimedilen, kept in step by every
    // write. ilkfiyat is the unit price when the order was placed.
    R"(CREATE TABLE siparis_satirlari (
        sirano {ID},
        idno INTEGER NOT NULL REFERENCES siparisler(idno),
        carino INTEGER NOT NULL,
        stokno INTEGER NOT NULL REFERENCES stoklar(stokno),
        barkod TEXT NOT NULL DEFAULT '',
        stokadi TEXT NOT NULL DEFAULT '',
        miktar DOUBLE PRECISION NOT NULL,
        teslimedilen DOUBLE PRECISION NOT NULL DEFAULT 0,
        kalan DOUBLE PRECISION NOT NULL DEFAULT 0,
        birimfiyat DOUBLE PRECISION NOT NULL,
        ilkfiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        kdv DOUBLE PRECISION NOT NULL,
        iskonto1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto3 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto4 DOUBLE PRECISION NOT NULL DEFAULT 0,
        tutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        indirimtutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        nettutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        vergitutari DOUBLE PRECISION NOT NULL DEFAULT 0,
        netbirimfiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        aciklama TEXT NOT NULL DEFAULT '',
        verenid INTEGER NOT NULL DEFAULT 0,
        stokharno INTEGER NOT NULL DEFAULT 0,
        aktar INTEGER NOT NULL DEFAULT 0))",
    "CREATE INDEX siparis_satirlari_siparis ON siparis_satirlari(idno)",
    "CREATE INDEX siparis_satirlari_cari ON siparis_satirlari(carino, stokno)",

    // Changes made to open order balances by staff (delete, quantity, price).
    R"(CREATE TABLE bakiye_islemleri (
        islemno {ID},
        tarih TEXT NOT NULL,
        islem TEXT NOT NULL,
        siparissatirno INTEGER NOT NULL,
        kullanici INTEGER NOT NULL DEFAULT 0,
        eskimiktar DOUBLE PRECISION NOT NULL DEFAULT 0,
        yenimiktar DOUBLE PRECISION NOT NULL DEFAULT 0,
        eskifiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        yenifiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        eskiiskonto DOUBLE PRECISION NOT NULL DEFAULT 0,
        yeniiskonto DOUBLE PRECISION NOT NULL DEFAULT 0))",

    // Invoices with their totals; the lines are the stock movements pointing at them.
    R"(CREATE TABLE faturalar (
        idno {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        evrakno TEXT NOT NULL,
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        harekettipi TEXT NOT NULL DEFAULT 'Satış Faturası',
        saticino INTEGER REFERENCES saticilar(saticino),
        vade INTEGER NOT NULL DEFAULT 0,
        irsaliyeevrakno TEXT NOT NULL DEFAULT '',
        irsaliyetarihi TEXT NOT NULL DEFAULT '',
        irsaliyetipi TEXT NOT NULL DEFAULT '',
        siparisevrakno TEXT NOT NULL DEFAULT '',
        siparistarihi TEXT NOT NULL DEFAULT '',
        kur TEXT NOT NULL DEFAULT 'TL',
        toplam DOUBLE PRECISION NOT NULL DEFAULT 0,
        toplamindirim DOUBLE PRECISION NOT NULL DEFAULT 0,
        matrah DOUBLE PRECISION NOT NULL DEFAULT 0,
        kdvtutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        kdvdahil DOUBLE PRECISION NOT NULL DEFAULT 0))",
    "CREATE INDEX faturalar_cari ON faturalar(carino)",

    // Stock movements (sales, returns, purchases); rows of an invoice carry its idno.
    // Amounts in lira: tutar = miktar * birimfiyat; nettutar after discounts and costs.
    R"(CREATE TABLE stok_hareketleri (
        hareketno {ID},
        stokno INTEGER NOT NULL REFERENCES stoklar(stokno),
        carino INTEGER REFERENCES cariler(carino),
        faturano INTEGER REFERENCES faturalar(idno),
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        turu TEXT NOT NULL,
        evrakseri TEXT NOT NULL DEFAULT '',
        evraksira INTEGER NOT NULL DEFAULT 0,
        miktar DOUBLE PRECISION NOT NULL,
        birimfiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        tutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto3 DOUBLE PRECISION NOT NULL DEFAULT 0,
        iskonto4 DOUBLE PRECISION NOT NULL DEFAULT 0,
        toplamindirim DOUBLE PRECISION NOT NULL DEFAULT 0,
        masraf1 DOUBLE PRECISION NOT NULL DEFAULT 0,
        masraf2 DOUBLE PRECISION NOT NULL DEFAULT 0,
        netbirimfiyat DOUBLE PRECISION NOT NULL DEFAULT 0,
        nettutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        kdv DOUBLE PRECISION NOT NULL DEFAULT 20,
        vergi DOUBLE PRECISION NOT NULL DEFAULT 0,
        vade INTEGER NOT NULL DEFAULT 0,
        satici TEXT NOT NULL DEFAULT '',
        aciklama TEXT NOT NULL DEFAULT '',
        siparissatirno INTEGER))",
    "CREATE INDEX stok_hareketleri_stok ON stok_hareketleri(stokno, carino)",
    "CREATE INDEX stok_hareketleri_fatura ON stok_hareketleri(faturano)",

    // Virtual-POS receipts of card payments.
    R"(CREATE TABLE sanalpos_fisleri (
        sirano {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        tutar DOUBLE PRECISION NOT NULL,
        kartsahibi TEXT NOT NULL DEFAULT '',
        kartno TEXT NOT NULL DEFAULT '',
        banka TEXT NOT NULL DEFAULT '',
        taksit INTEGER NOT NULL DEFAULT 1,
        onaykodu TEXT NOT NULL DEFAULT '',
        referans TEXT NOT NULL DEFAULT ''))",

    // Collections and payments (turu 'Tahsilat' or 'Tediye'); card payments point at
    // their virtual-POS receipt.
    R"(CREATE TABLE tahsilatlar (
        idno {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        tarih TEXT NOT NULL,
        saat TEXT NOT NULL DEFAULT '',
        turu TEXT NOT NULL DEFAULT 'Tahsilat',
        cins TEXT NOT NULL DEFAULT 'Nakit',
        vade TEXT NOT NULL DEFAULT '',
        tutar DOUBLE PRECISION NOT NULL,
        aciklama TEXT NOT NULL DEFAULT '',
        evrakno TEXT NOT NULL DEFAULT '',
        ref TEXT NOT NULL DEFAULT '',
        kur TEXT NOT NULL DEFAULT 'TL',
        kurtl DOUBLE PRECISION NOT NULL DEFAULT 1,
        doviztutar DOUBLE PRECISION NOT NULL DEFAULT 0,
        sanalposno INTEGER REFERENCES sanalpos_fisleri(sirano)))",
    "CREATE INDEX tahsilatlar_cari ON tahsilatlar(carino)",

    // Account statement. belgeno points at the document of the row: an invoice when
    // turadi contains "Fatura", a collection when turadi is "Tahsilat" or "Tediye".
    R"(CREATE TABLE cari_hareketler (
        hareketno {ID},
        carino INTEGER NOT NULL REFERENCES cariler(carino),
        tarih TEXT NOT NULL,
        vadetarihi TEXT NOT NULL DEFAULT '',
        turadi TEXT NOT NULL,
        evrak TEXT NOT NULL DEFAULT '',
        borc DOUBLE PRECISION NOT NULL DEFAULT 0,
        alacak DOUBLE PRECISION NOT NULL DEFAULT 0,
        kur TEXT NOT NULL DEFAULT 'TL',
        aciklama TEXT NOT NULL DEFAULT '',
        belgeno INTEGER NOT NULL DEFAULT 0))",
    "CREATE INDEX cari_hareketler_cari ON cari_hareketler(carino, tarih)",

    // Announcements shown on the home tab and as opening advertisements (JPEG pictures).
    R"(CREATE TABLE duyurular (
        sirano INTEGER PRIMARY KEY,
        sira INTEGER NOT NULL,
        baslik TEXT NOT NULL DEFAULT '',
        arama TEXT NOT NULL DEFAULT '',
        resim {BLOB} NOT NULL,
        aktif INTEGER NOT NULL DEFAULT 1))",

    // Banners by place: 'genel' (BannerResimVer), 'ust' (GIF, BannerResimVer2),
    // 'alt' (BMP, BannerResimVer3).
    R"(CREATE TABLE bannerlar (
        yer TEXT PRIMARY KEY,
        tur TEXT NOT NULL,
        veri {BLOB} NOT NULL))",

    // Settings and texts of the wholesaler: 'kayanyazi' (scrolling text, simple HTML),
    // 'platform' (answer of the handshake), ...
    R"(CREATE TABLE ayarlar (
        anahtar TEXT PRIMARY KEY,
        deger TEXT NOT NULL))",

    // Mail to the wholesaler and password change requests, waiting to be sent.
    R"(CREATE TABLE mail_kutusu (
        mailno {ID},
        tarih TEXT NOT NULL,
        tur TEXT NOT NULL,
        idsi TEXT NOT NULL DEFAULT '',
        baslik TEXT NOT NULL DEFAULT '',
        firmaadi TEXT NOT NULL DEFAULT '',
        adres1 TEXT NOT NULL DEFAULT '',
        adres2 TEXT NOT NULL DEFAULT '',
        ilce TEXT NOT NULL DEFAULT '',
        sehir TEXT NOT NULL DEFAULT '',
        telefon TEXT NOT NULL DEFAULT '',
        fax TEXT NOT NULL DEFAULT '',
        vd TEXT NOT NULL DEFAULT '',
        vn TEXT NOT NULL DEFAULT '',
        yetkili TEXT NOT NULL DEFAULT '',
        kullaniciadi TEXT NOT NULL DEFAULT '',
        sifre TEXT NOT NULL DEFAULT '',
        mail TEXT NOT NULL DEFAULT '',
        kargoambar TEXT NOT NULL DEFAULT '',
        konu TEXT NOT NULL DEFAULT '',
        gonderildi INTEGER NOT NULL DEFAULT 0))",

    // Reports the staff can download as PDF (RaporGetir raporno).
    R"(CREATE TABLE raporlar (
        raporno INTEGER PRIMARY KEY,
        adi TEXT NOT NULL,
        aciklama TEXT NOT NULL DEFAULT ''))",
};

// Version 2: indexes of the stock search. It walks the catalogue in code order when every
// token is common, testing each item's keys, and sorts the matching items by code otherwise.
const char *const version2[] = {
    "CREATE INDEX stok_anahtarlari_stok ON stok_anahtarlari(stokno, anahtar)",
    "CREATE INDEX stoklar_kod_no ON stoklar(kod, stokno)",
};

// Version 3: the active items in code order, so the search's walk reads the index alone.
const char *const version3[] = {
    "CREATE INDEX stoklar_aktif_kod ON stoklar(aktif, kod, stokno)",
};

// Version 4: the search keys carry their item's stock code (kept equal to stoklar.kod),
// so on PostgreSQL the matches of a token come in code order from the key index alone.
const char *const version4[] = {
    "ALTER TABLE stok_anahtarlari ADD COLUMN kod TEXT NOT NULL DEFAULT ''",
    "UPDATE stok_anahtarlari SET kod = (SELECT s.kod FROM stoklar s WHERE s.stokno = stok_anahtarlari.stokno)",
    "CREATE INDEX stok_anahtarlari_kod ON stok_anahtarlari(anahtar, kod, stokno)",
};

struct Migration {
    int version;
    const char *const *statements;
    size_t count;
};

const Migration migrations[] = {
    {1, version1, sizeof(version1) / sizeof(version1[0])},
    {2, version2, sizeof(version2) / sizeof(version2[0])},
    {3, version3, sizeof(version3) / sizeof(version3[0])},
    {4, version4, sizeof(version4) / sizeof(version4[0])},
};

QString forBackend(const char *statement, Backend backend)
{
    QString sql = QString::fromUtf8(statement);
    if (backend == Backend::Sqlite) {
        sql.replace(QLatin1String("{ID}"), QLatin1String("INTEGER PRIMARY KEY AUTOINCREMENT"));
        sql.replace(QLatin1String("{BLOB}"), QLatin1String("BLOB"));
    } else {
        sql.replace(QLatin1String("{ID}"), QLatin1String("INTEGER GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY"));
        sql.replace(QLatin1String("{BLOB}"), QLatin1String("BYTEA"));
    }
    return sql;
}

} // namespace

int latestSchemaVersion()
{
    return migrations[sizeof(migrations) / sizeof(migrations[0]) - 1].version;
}

int currentSchemaVersion(QSqlDatabase &db)
{
    if (!db.tables().contains(QStringLiteral("schema_surumu")))
        return 0;
    SqlQuery q(db, QStringLiteral("SELECT MAX(surum) FROM schema_surumu"));
    return q.scalar().toInt();
}

void migrate(Store &store)
{
    for (const Migration &m : migrations) {
        store.write([&](QSqlDatabase &db) {
            // Two servers starting together on one database take turns here (write lock).
            execSql(db, QStringLiteral("CREATE TABLE IF NOT EXISTS schema_surumu (surum INTEGER PRIMARY KEY, tarih TEXT NOT NULL)"));
            if (currentSchemaVersion(db) >= m.version)
                return;
            for (size_t i = 0; i < m.count; ++i)
                execSql(db, forBackend(m.statements[i], store.backend()));
            SqlQuery(db, QStringLiteral("INSERT INTO schema_surumu (surum, tarih) VALUES (?, CURRENT_TIMESTAMP)"))
                .bind(m.version)
                .exec();
        });
    }
}

} // namespace store
