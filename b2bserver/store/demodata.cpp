#include "demodata.h"

#include "pictures.h"
#include "pricing.h"
#include "searchkeys.h"
#include "sqlquery.h"
#include "store.h"

#include <QDate>
#include <QSqlQuery>
#include <QSet>
#include <QStringList>

#include <algorithm>
#include <tuple>
#include <vector>

namespace store {

namespace {

// splitmix64: small, fast and the same on every platform (std distributions are not).
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int range(int lo, int hi) { return lo + int(next() % quint64(hi - lo + 1)); }  // inclusive
    double unit() { return double(next() >> 11) / double(1ull << 53); }
    bool chance(double p) { return unit() < p; }
    template <class T, size_t N>
    const T &pick(const T (&items)[N]) { return items[next() % N]; }
    QString digits(int n)
    {
        QString s;
        for (int i = 0; i < n; ++i)
            s.append(QChar(u'0' + int(next() % 10)));
        return s;
    }
    QString alnum(int n)
    {
        static const char chars[] = "ABCDEFGHJKLMNPRSTUVWXYZ0123456789";
        QString s;
        for (int i = 0; i < n; ++i)
            s.append(QLatin1Char(chars[next() % (sizeof(chars) - 1)]));
        return s;
    }

private:
    quint64 m_state;
};

// Dates are anchored to a fixed day so that a seed always gives the same rows.
const QDate baseDate(2026, 11, 30);

QString isoDate(const QDate &d) { return d.toString(Qt::ISODate); }

struct PartKind {
    const char16_t *name;
    const char16_t *otherName;
    const char *englishName;
    const char16_t *group;
    int minPrice, maxPrice;
};

const PartKind partKinds[] = {
    {u"YAĞ FİLTRESİ", u"MOTOR YAĞ SÜZGECİ", "OIL FILTER", u"FİLTRE", 90, 450},
    {u"HAVA FİLTRESİ", u"MOTOR HAVA SÜZGECİ", "AIR FILTER", u"FİLTRE", 110, 650},
    {u"POLEN FİLTRESİ", u"KABİN FİLTRESİ", "CABIN FILTER", u"FİLTRE", 80, 420},
    {u"YAKIT FİLTRESİ", u"MAZOT FİLTRESİ", "FUEL FILTER", u"FİLTRE", 120, 900},
    {u"FREN BALATASI ÖN", u"ÖN DİSK BALATA", "BRAKE PAD FRONT", u"FREN", 450, 2400},
    {u"FREN BALATASI ARKA", u"ARKA DİSK BALATA", "BRAKE PAD REAR", u"FREN", 380, 2100},
    {u"FREN DİSKİ ÖN", u"ÖN FREN AYNASI", "BRAKE DISC FRONT", u"FREN", 900, 4200},
    {u"FREN KALİPERİ", u"FREN MERKEZİ", "BRAKE CALIPER", u"FREN", 1400, 5600},
    {u"AMORTİSÖR ÖN", u"ÖN AMORTİSÖR SOL/SAĞ", "SHOCK ABSORBER FRONT", u"SÜSPANSİYON", 1200, 5200},
    {u"AMORTİSÖR ARKA", u"ARKA AMORTİSÖR", "SHOCK ABSORBER REAR", u"SÜSPANSİYON", 950, 4300},
    {u"ROT BAŞI", u"ROT UCU", "TIE ROD END", u"SÜSPANSİYON", 260, 1100},
    {u"ROTİL", u"ALT ROTİL", "BALL JOINT", u"SÜSPANSİYON", 240, 980},
    {u"SALINCAK", u"ÖN ALT SALINCAK", "CONTROL ARM", u"SÜSPANSİYON", 850, 3900},
    {u"TEKER RULMANI", u"BORYA RULMAN", "WHEEL BEARING", u"SÜSPANSİYON", 420, 1900},
    {u"MOTOR TAKOZU", u"MOTOR KULAĞI", "ENGINE MOUNT", u"MOTOR", 380, 1700},
    {u"TRİGER SETİ", u"EKSANTRİK KAYIŞ SETİ", "TIMING BELT KIT", u"MOTOR", 1600, 7400},
    {u"DEVİRDAİM POMPASI", u"SU POMPASI", "WATER PUMP", u"SOĞUTMA", 900, 3600},
    {u"TERMOSTAT", u"TERMOSTAT GÖVDESİ", "THERMOSTAT", u"SOĞUTMA", 260, 1300},
    {u"RADYATÖR", u"MOTOR SU RADYATÖRÜ", "RADIATOR", u"SOĞUTMA", 2100, 8900},
    {u"DEBRİYAJ SETİ", u"KAVRAMA SETİ", "CLUTCH KIT", u"ŞANZIMAN", 2800, 11500},
    {u"VİTES HALATI", u"VİTES TELİ", "GEAR CABLE", u"ŞANZIMAN", 420, 1600},
    {u"BUJİ", u"ATEŞLEME BUJİSİ", "SPARK PLUG", u"ELEKTRİK", 70, 380},
    {u"ATEŞLEME BOBİNİ", u"BOBİN", "IGNITION COIL", u"ELEKTRİK", 650, 2600},
    {u"MARŞ MOTORU", u"STARTER", "STARTER MOTOR", u"ELEKTRİK", 2600, 9800},
    {u"ŞARJ DİNAMOSU", u"ALTERNATÖR", "ALTERNATOR", u"ELEKTRİK", 3200, 12500},
    {u"FAR AMPULÜ H7", u"HALOJEN AMPUL", "HEADLAMP BULB", u"AYDINLATMA", 45, 260},
    {u"STOP LAMBASI", u"ARKA STOP", "TAIL LIGHT", u"AYDINLATMA", 700, 3400},
    {u"SİLECEK SÜPÜRGESİ", u"SİLECEK LASTİĞİ", "WIPER BLADE", u"AKSESUAR", 90, 480},
    {u"V KAYIŞI", u"ALTERNATÖR KAYIŞI", "V-RIBBED BELT", u"MOTOR", 160, 720},
    {u"EGZOZ SUSTURUCU", u"ARKA SUSTURUCU", "EXHAUST SILENCER", u"EGZOZ", 900, 4100},
    {u"KLİMA KOMPRESÖRÜ", u"KOMPRESÖR", "AC COMPRESSOR", u"KLİMA", 5200, 18500},
    {u"YAĞ KARTERİ CONTASI", u"KARTER CONTASI", "OIL PAN GASKET", u"MOTOR", 90, 520},
};

// Invented names; none of them is a real maker.
const char16_t *const partBrands[] = {u"KARTEL", u"ZORVA", u"NEMRA", u"TEVAN", u"BELSA", u"OTARO", u"MARVIK",
                                      u"SEMTA", u"DURAKS", u"PELTA"};
const char16_t *const carMakes[] = {u"ARVENTA", u"KOLTRA", u"MESTRAL", u"VOLSEN", u"DORAN", u"PERLA", u"TAVRO"};
const char16_t *const carModels[] = {u"SİRİUS 1.4", u"NOVA 1.6", u"KUZEY 2.0 D", u"LİRA 1.3 D", u"ATLAS 1.5",
                                     u"SENA 1.2", u"POYRAZ 1.6 D", u"TUNA 2.2 D", u"VEGA 1.0 T"};
const char16_t *const specialCodes[] = {u"", u"", u"İTHAL", u"YERLİ", u"OEM", u"YAN SANAYİ"};
const char16_t *const units[] = {u"ADET", u"ADET", u"ADET", u"TAKIM", u"SET"};

const char16_t *const accountNames[] = {u"Yıldız", u"Güneş", u"Demir", u"Akın", u"Bereket", u"Özlem", u"Kartal",
                                        u"Doğan", u"Umut", u"Ergün", u"Sahil", u"Anadolu", u"Marmara", u"Toros",
                                        u"Ege", u"Kuzey", u"Çınar", u"Kaya"};
const char16_t *const accountTrades[] = {u"Oto Yedek Parça", u"Otomotiv", u"Oto Servis", u"Motor", u"Oto Elektrik",
                                         u"Oto Sanayi"};
const char16_t *const accountForms[] = {u"Ltd. Şti.", u"A.Ş.", u"Tic.", u"San. ve Tic. Ltd. Şti."};
struct Town {
    const char16_t *district, *city, *taxOffice;
};
const Town towns[] = {{u"İkitelli", u"İstanbul", u"İkitelli V.D."},  {u"Ostim", u"Ankara", u"Ostim V.D."},
                      {u"Bornova", u"İzmir", u"Bornova V.D."},       {u"Nilüfer", u"Bursa", u"Nilüfer V.D."},
                      {u"Selçuklu", u"Konya", u"Selçuk V.D."},       {u"Seyhan", u"Adana", u"5 Ocak V.D."},
                      {u"Kepez", u"Antalya", u"Antalya Kurumlar V.D."}, {u"Tepebaşı", u"Eskişehir", u"Eskişehir V.D."}};
const char16_t *const firstNames[] = {u"Ali", u"Ayşe", u"Mehmet", u"Fatma", u"Hasan", u"Elif", u"Mustafa", u"Hülya",
                                      u"Kemal", u"Gül", u"Osman", u"Deniz"};
const char16_t *const lastNames[] = {u"Yılmaz", u"Kaya", u"Demir", u"Şahin", u"Çelik", u"Öztürk", u"Aydın",
                                     u"Arslan", u"Doğan", u"Kılıç"};

QString s(const char16_t *text) { return QString::fromUtf16(text); }

struct Item {
    int stokno;
    QString kod, barkod, adi, marka, model;
    double price, kdv;
};

void insertFixedData(QSqlDatabase &db)
{
    struct Rep {
        int no;
        const char16_t *name;
        const char *mail, *phone;
    };
    const Rep reps[] = {{1, u"Murat Kaya", "murat.kaya@korveloto.example", "0212 555 10 01"},
                        {2, u"Selin Aksoy", "selin.aksoy@korveloto.example", "0212 555 10 02"},
                        {3, u"Emre Demirtaş", "emre.demirtas@korveloto.example", "0212 555 10 03"},
                        {4, u"Zeynep Koç", "zeynep.koc@korveloto.example", "0212 555 10 04"}};
    {
        BatchInsert ins(db, QStringLiteral("saticilar"), {"saticino", "adi", "mail", "telefon"});
        for (const Rep &r : reps)
            ins.add({r.no, s(r.name), QString::fromLatin1(r.mail), QString::fromLatin1(r.phone)});
        ins.flush();
    }
    {
        BatchInsert ins(db, QStringLiteral("teslim_cinsleri"), {"teslimid", "adi", "sira"});
        ins.add({1, s(u"Depodan Teslim Alınacak"), 1});
        ins.add({2, s(u"Kargo ile Gönderilsin"), 2});
        ins.add({3, s(u"Servis Aracı ile Teslim"), 3});
        ins.flush();
    }
    {
        BatchInsert ins(db, QStringLiteral("kargo_cinsleri"), {"kargoid", "adi", "sira"});
        ins.add({1, s(u"Gönderici Ödemeli"), 1});
        ins.add({2, s(u"Alıcı Ödemeli"), 2});
        ins.add({3, s(u"Ambar"), 3});
        ins.flush();
    }
    {
        BatchInsert ins(db, QStringLiteral("kargo_firmalari"), {"sirano", "kargoid", "adi", "uyari", "sira"});
        ins.add({1, 1, s(u"Hızır Kargo"), s(u"Saat 16:00'dan sonraki siparişler ertesi gün çıkar."), 1});
        ins.add({2, 1, s(u"Yıldırım Lojistik"), QString(), 2});
        ins.add({3, 2, s(u"Hızır Kargo"), s(u"Alıcı ödemeli gönderilerde kargo ücreti teslimde alınır."), 1});
        ins.add({4, 2, s(u"Pusula Kargo"), s(u"Cumartesi teslimat yapılmaz."), 2});
        ins.add({5, 3, s(u"Anadolu Ambarı"), s(u"Ambar teslimleri 2-4 iş günü sürer."), 1});
        ins.add({6, 3, s(u"Toros Nakliyat"), QString(), 2});
        ins.flush();
    }
    {
        BatchInsert ins(db, QStringLiteral("raporlar"), {"raporno", "adi", "aciklama"});
        ins.add({1, s(u"Cari Özeti"), s(u"Hesap özeti ve açık bakiyeler")});
        ins.add({2, s(u"Cari Alış Satış Tablosu (Satıcılı)"), s(u"Aylara göre alış ve satış toplamları")});
        ins.add({3, s(u"Cari Toplu Alacak Vadeleri"), s(u"Vadesi gelen ve geçen alacaklar")});
        ins.flush();
    }
    {
        BatchInsert ins(db, QStringLiteral("ayarlar"), {"anahtar", "deger"});
        ins.add({QStringLiteral("platform"), QStringLiteral("Korvel B2B Server")});
        ins.add({QStringLiteral("kayanyazi"),
                 s(u"<b>Korvel Oto Yedek Parça</b> — Kampanyalı ürünlerde <font color=\"red\">%15'e varan</font> "
                   u"indirim! Yeni ürünler için <a href=\"http://127.0.0.1:8080/\">web sitemizi</a> ziyaret edin.")});
        ins.flush();
    }
}

void insertPictures(QSqlDatabase &db, int count)
{
    BatchInsert ins(db, QStringLiteral("resimler"), {"resimno", "tur", "veri"}, 16);
    for (int i = 1; i <= count; ++i) {
        const bool jpeg = i % 2 == 0;
        ins.add({i, jpeg ? QStringLiteral("image/jpeg") : QStringLiteral("image/png"), productPicture(i, jpeg)});
    }
    ins.flush();
}

void insertContent(QSqlDatabase &db)
{
    {
        BatchInsert ins(db, QStringLiteral("bannerlar"), {"yer", "tur", "veri"}, 3);
        ins.add({QStringLiteral("genel"), QStringLiteral("image/png"), plainBannerPng()});
        ins.add({QStringLiteral("ust"), QStringLiteral("image/gif"), topBannerGif()});
        ins.add({QStringLiteral("alt"), QStringLiteral("image/bmp"), bottomBannerBmp()});
        ins.flush();
    }
    struct Ad {
        const char16_t *title;
        const char16_t *search;
    };
    const Ad ads[] = {{u"Fren grubunda kış kampanyası", u"FREN"},
                      {u"Yeni filtre serisi stoklarımızda", u"FILTRE"},
                      {u"Triger setlerinde %10 indirim", u"TRIGER"},
                      {u"Bayram tatilinde sevkiyat takvimi", u""},
                      {u"Amortisörde ikinci ürüne indirim", u"AMORTISOR"}};
    BatchInsert ins(db, QStringLiteral("duyurular"), {"sirano", "sira", "baslik", "arama", "resim", "aktif"}, 5);
    int i = 0;
    for (const Ad &ad : ads) {
        ++i;
        ins.add({i, i, s(ad.title), s(ad.search), announcementJpeg(i, s(ad.title)), 1});
    }
    ins.flush();
}

std::vector<Item> insertCatalogue(QSqlDatabase &db, Rng &rng, int count, int pictureCount)
{
    std::vector<Item> items;
    items.reserve(size_t(count));
    BatchInsert ins(db, QStringLiteral("stoklar"),
                    {"stokno", "kod", "barkod", "barkodno", "oem1", "oem2", "oem3", "oem4", "oemno", "arama",
                     "ureticikodu", "dpkod", "pkod", "adi", "digeradi", "enadi", "marka", "model", "anagrup",
                     "altgrup", "ozelkod", "departman", "birim", "kdv", "koliadet", "durum", "kalan", "eldeki",
                     "alinansiparis", "verilensiparis", "yeni", "kampanya", "listefiyat", "kampfiyat", "eskifiyat",
                     "resimno", "aramametni"},
                    32);
    BatchInsert keys(db, QStringLiteral("stok_anahtarlari"), {"anahtar", "stokno", "kod"}, 400);
    // Keys of items whose row is not written yet; they follow once it is (foreign key).
    std::vector<std::tuple<QString, int, QString>> waitingKeys;  // key, stock number, stock code
    auto releaseKeys = [&] {
        for (const auto &[key, no, code] : waitingKeys)
            keys.add({key, no, code});
        waitingKeys.clear();
    };
    static const int packages[] = {1, 1, 1, 1, 1, 2, 2, 4, 5, 6, 10, 12};
    for (int i = 0; i < count; ++i) {
        const int stokno = 100001 + i;
        const PartKind &kind = rng.pick(partKinds);
        const QString brand = s(rng.pick(partBrands));
        const QString make = s(rng.pick(carMakes));
        const QString model = s(rng.pick(carModels));
        const QString kod = QStringLiteral("KRV-%1").arg(stokno);
        const QString barkod = QStringLiteral("869") + rng.digits(10);
        const QString oem1 = rng.alnum(3) + QLatin1Char(' ') + rng.digits(3) + QLatin1Char(' ') + rng.alnum(3);
        const QString oem2 = rng.chance(0.6) ? rng.digits(4) + QLatin1Char('.') + rng.alnum(2) : QString();
        const QString oem3 = rng.chance(0.2) ? rng.alnum(8) : QString();
        const QString oem4 = rng.chance(0.1) ? rng.alnum(8) : QString();
        const QString uretici = brand.left(3) + QLatin1Char('-') + rng.digits(5);
        const QString adi = s(kind.name) + QLatin1Char(' ') + make + QLatin1Char(' ') + model;
        // Every state occurs: the first six items take 0..5, then mostly "in stock".
        int durum;
        if (i < 6)
            durum = i;
        else {
            const int r = rng.range(0, 99);
            durum = r < 62 ? 1 : r < 72 ? 0 : 2 + (r - 72) / 7;
        }
        const double kalan = durum == 1 ? rng.range(1, 400) : 0;
        const double price = roundMoney(rng.range(kind.minPrice * 100, kind.maxPrice * 100) / 100.0);
        const bool isNew = rng.chance(0.03) || i % 997 == 1;
        const bool campaign = rng.chance(0.04) || i % 991 == 2;
        const double campaignPrice = campaign ? roundMoney(price * (0.75 + 0.15 * rng.unit())) : 0.0;
        const int picture = pictureCount > 0 && rng.chance(0.35) ? rng.range(1, pictureCount) : 0;
        const int package = packages[rng.next() % (sizeof(packages) / sizeof(packages[0]))];
        const QString other = s(kind.otherName);
        ins.add({stokno, kod, barkod, rng.range(1, 3), oem1, oem2, oem3, oem4, oem1, oem1, uretici,
                 QString(QStringLiteral("DP") + rng.digits(4)), QString(QStringLiteral("P") + rng.digits(3)), adi, other,
                 QString::fromLatin1(kind.englishName), make, model, s(kind.group), brand,
                 s(rng.pick(specialCodes)), s(kind.group), s(rng.pick(units)), 20.0, package, durum, kalan, kalan,
                 double(rng.range(0, 20)), double(rng.range(0, 40)), isNew ? 1 : 0, campaign ? 1 : 0, price,
                 campaignPrice, price, picture ? QVariant(picture) : QVariant(QMetaType(QMetaType::Int)),
                 searchText(adi + QLatin1Char(' ') + other + QLatin1Char(' ') + brand)});
        for (const QString &key : stockSearchKeys({kod, barkod, oem1, oem2, oem3, oem4, uretici}, {adi, other}))
            waitingKeys.emplace_back(key, stokno, kod);
        if (ins.pendingRows() == 0)
            releaseKeys();
        items.push_back({stokno, kod, barkod, adi, make, model, campaign ? campaignPrice : price, 20.0});
    }
    ins.flush();
    releaseKeys();
    keys.flush();
    return items;
}

struct Account {
    int carino;
    QString carikod, cariadi;
    int rep;
    double ind1, ind2;
};

std::vector<Account> insertAccounts(QSqlDatabase &db, Rng &rng, int count)
{
    std::vector<Account> accounts;
    BatchInsert ins(db, QStringLiteral("cariler"),
                    {"carino", "carikod", "cariadi", "yetkili", "ozelkod", "anagrup", "altgrup", "kod1", "adres1",
                     "adres2", "ilce", "il", "vergidairesi", "vergino", "tel1", "tel2", "fax1", "gsm", "email",
                     "saticino", "durum", "vade", "vadekontrolgun", "indirim", "iskonto1", "iskonto2"});
    for (int i = 0; i < count; ++i) {
        const int carino = 1001 + i;
        const Town &town = rng.pick(towns);
        const QString name = s(rng.pick(accountNames)) + QLatin1Char(' ') + s(rng.pick(accountTrades)) +
                             QLatin1Char(' ') + s(rng.pick(accountForms));
        const QString contact = s(rng.pick(firstNames)) + QLatin1Char(' ') + s(rng.pick(lastNames));
        const int rep = 1 + i % 4;
        static const int terms[] = {30, 45, 60, 90};
        static const int rates[] = {0, 5, 10, 10, 15, 20};
        const double ind1 = double(rng.pick(rates));
        const double ind2 = rng.chance(0.3) ? 5.0 : 0.0;
        const QString phone = QStringLiteral("0%1 %2 %3 %4").arg(rng.range(212, 488)).arg(rng.digits(3), rng.digits(2),
                                                                                           rng.digits(2));
        const QString carikod = QStringLiteral("120.%1.%2").arg(rep, 2, 10, QLatin1Char('0')).arg(carino);
        ins.add({carino, carikod, name, contact, i % 5 == 0 ? s(u"BAYİ") : QString(),
                 i % 3 == 0 ? s(u"SERVİS") : s(u"PERAKENDE"), s(town.city), QString(),
                 QString(s(u"Sanayi Sitesi ") + QString::number(rng.range(1, 40)) + s(u". Blok No:") +
                         QString::number(rng.range(1, 120))),
                 QString(), s(town.district), s(town.city), s(town.taxOffice), rng.digits(10), phone, QString(),
                 QString(), QStringLiteral("05%1 %2 %3 %4").arg(rng.range(30, 55)).arg(rng.digits(3), rng.digits(2),
                                                                                       rng.digits(2)),
                 QStringLiteral("info%1@cari.example").arg(carino), rep,
                 i % 7 == 0 ? s(u"Takipte") : s(u"Aktif"), rng.pick(terms), 15, ind1,
                 ind1, ind2});
        accounts.push_back({carino, carikod, name, rep, ind1, ind2});
    }
    ins.flush();
    return accounts;
}

void insertUsers(QSqlDatabase &db, Rng &rng, const std::vector<Account> &accounts)
{
    BatchInsert users(db, QStringLiteral("kullanicilar"),
                      {"sirano", "adi", "sifre", "mail", "musteritipi", "aktif", "carino", "saticino"});
    BatchInsert computers(db, QStringLiteral("bilgisayarlar"),
                          {"bilgisayarid", "sirano", "bilgisayaradi", "kayittarihi"});
    auto addComputer = [&](int sirano, const QString &name) {
        computers.add({QString(QStringLiteral("KORVEL-DEMO-") + name), sirano, QString(QStringLiteral("DEMO-") + name),
                       isoDate(baseDate.addDays(-rng.range(30, 700)))});
    };
    // Staff: kinds 2 (with price rights) and 1.
    const struct {
        int sirano;
        const char *name;
        int kind;
    } staff[] = {{1, "MURAT", 2}, {2, "SELIN", 1}, {3, "EMRE", 1}, {4, "ZEYNEP", 2}};
    for (const auto &st : staff) {
        const int account = accounts.empty() ? 0 : accounts[size_t(st.sirano - 1) % accounts.size()].carino;
        users.add({st.sirano, QString::fromLatin1(st.name), rng.digits(4),
                   QString(QString::fromLatin1(st.name).toLower() + QStringLiteral("@korveloto.example")), st.kind, 1,
                   account ? QVariant(account) : QVariant(QMetaType(QMetaType::Int)), st.sirano});
        addComputer(st.sirano, QString::fromLatin1(st.name));
    }
    // One customer user per account: mostly kind 0, every tenth from the fourth kind 3,
    // every tenth from the eighth kind 4.
    int sirano = 100;
    for (size_t i = 0; i < accounts.size(); ++i) {
        const Account &a = accounts[i];
        const int kind = i % 10 == 3 ? 3 : i % 10 == 7 ? 4 : 0;
        const QString name = QStringLiteral("BAYI%1").arg(a.carino);
        users.add({++sirano, name, rng.digits(4), QStringLiteral("bayi%1@cari.example").arg(a.carino), kind, 1,
                   a.carino, a.rep});
        addComputer(sirano, name);
    }
    // A user whose access was withdrawn, to show the refusal.
    if (!accounts.empty()) {
        users.add({++sirano, QStringLiteral("ESKIBAYI"), QStringLiteral("0000"), QString(), 0, 0,
                   accounts.front().carino, accounts.front().rep});
        addComputer(sirano, QStringLiteral("ESKIBAYI"));
    }
    users.flush();
    computers.flush();
}

struct Movement {
    QDate date;
    QString turadi, evrak, aciklama;
    double borc = 0, alacak = 0;
    int belgeno = 0;
};

void insertAccountHistory(QSqlDatabase &db, Rng &rng, const std::vector<Account> &accounts,
                          const std::vector<Item> &items)
{
    if (items.empty())
        return;
    static const char16_t *const repNames[] = {u"Murat Kaya", u"Selin Aksoy", u"Emre Demirtaş", u"Zeynep Koç"};
    SqlQuery order(db, QStringLiteral("INSERT INTO siparisler (carino, siparisno, tarih, saat, verenid, veren, "
                                      "teslimid, kargoid, kargofirmano, aciklama, alannotu, saticinotu, durum, "
                                      "tutar, indirimtutar, nettutar, vergi) VALUES "
                                      "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING idno"));
    SqlQuery invoice(db, QStringLiteral("INSERT INTO faturalar (carino, evrakno, tarih, saat, saticino, vade, "
                                        "irsaliyeevrakno, irsaliyetarihi, irsaliyetipi, siparisevrakno, "
                                        "siparistarihi, toplam, toplamindirim, matrah, kdvtutar, kdvdahil) VALUES "
                                        "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) RETURNING idno"));
    SqlQuery pos(db, QStringLiteral("INSERT INTO sanalpos_fisleri (carino, tarih, saat, tutar, kartsahibi, kartno, "
                                    "banka, taksit, onaykodu, referans) VALUES (?,?,?,?,?,?,?,?,?,?) RETURNING sirano"));
    SqlQuery collection(db, QStringLiteral("INSERT INTO tahsilatlar (carino, tarih, saat, turu, cins, vade, tutar, "
                                           "aciklama, evrakno, ref, sanalposno) VALUES (?,?,?,?,?,?,?,?,?,?,?) "
                                           "RETURNING idno"));
    BatchInsert lines(db, QStringLiteral("siparis_satirlari"),
                      {"idno", "carino", "stokno", "barkod", "stokadi", "miktar", "teslimedilen", "kalan",
                       "birimfiyat", "ilkfiyat", "kdv", "iskonto1", "iskonto2", "tutar", "indirimtutar", "nettutar",
                       "vergitutari", "netbirimfiyat", "verenid", "stokharno"});
    BatchInsert moves(db, QStringLiteral("stok_hareketleri"),
                      {"stokno", "carino", "faturano", "tarih", "saat", "turu", "evrakseri", "evraksira", "miktar",
                       "birimfiyat", "tutar", "iskonto1", "iskonto2", "toplamindirim", "netbirimfiyat", "nettutar",
                       "kdv", "vergi", "vade", "satici"});
    BatchInsert statement(db, QStringLiteral("cari_hareketler"),
                          {"carino", "tarih", "vadetarihi", "turadi", "evrak", "borc", "alacak", "aciklama",
                           "belgeno"});
    BatchInsert cart(db, QStringLiteral("sepet"),
                     {"carino", "stokno", "barkod", "stokadi", "miktar", "birimfiyat", "kdv", "iskonto1", "iskonto2",
                      "kampanya", "sec", "verenid", "tarih", "saat", "tutar", "indirimtutar", "nettutar",
                      "vergitutari", "netbirimfiyat"});

    int invoiceSerial = 0, orderSerial = 0, receiptSerial = 0, stateCycle = 0;
    for (size_t ai = 0; ai < accounts.size(); ++ai) {
        const Account &a = accounts[ai];
        const int customerUser = 101 + int(ai);
        const QString repName = s(repNames[(a.rep - 1) % 4]);
        std::vector<Movement> statementRows;
        statementRows.push_back({baseDate.addDays(-365), s(u"Devir Bakiyesi"), QStringLiteral("DEVİR"),
                                 s(u"Önceki dönemden devir"), double(rng.range(0, 30000)), 0, 0});

        // Orders in every preparation state (2..7 cycle over all accounts).
        const int orderCount = rng.range(2, 6);
        for (int o = 0; o < orderCount; ++o) {
            const int state = 2 + (stateCycle++ % 6);
            const QDate date = baseDate.addDays(-rng.range(0, 120));
            const int lineCount = rng.range(1, 6);
            struct Line {
                const Item *item;
                double qty, delivered;
                LineAmounts amounts;
            };
            std::vector<Line> orderLines;
            double tutar = 0, indirim = 0, net = 0, vergi = 0;
            for (int l = 0; l < lineCount; ++l) {
                const Item &item = items[rng.next() % items.size()];
                const double qty = rng.range(1, 12);
                double delivered = 0;
                if (state == 7)
                    delivered = rng.chance(0.7) ? qty : std::max(0.0, qty - rng.range(1, 3));
                else if (state == 5)
                    delivered = std::floor(qty / 2);
                const LineAmounts am = computeLine(qty, item.price, item.kdv, a.ind1, a.ind2, 0, 0);
                orderLines.push_back({&item, qty, delivered, am});
                tutar += am.tutar;
                indirim += am.indirimtutar;
                net += am.nettutar;
                vergi += am.vergitutari;
            }
            const bool byStaff = rng.chance(0.3);
            order.bind(a.carino)
                .bind(QStringLiteral("SP%1").arg(++orderSerial, 6, 10, QLatin1Char('0')))
                .bind(isoDate(date))
                .bind(QStringLiteral("%1:%2:00").arg(rng.range(8, 18), 2, 10, QLatin1Char('0')).arg(rng.range(0, 59), 2, 10, QLatin1Char('0')))
                .bind(byStaff ? a.rep : customerUser)
                .bind(byStaff ? repName : QStringLiteral("BAYI%1").arg(a.carino))
                .bind(rng.range(1, 3))
                .bind(rng.range(1, 3))
                .bind(rng.range(1, 6))
                .bind(rng.chance(0.4) ? s(u"Acil gönderim rica ederiz.") : QString())
                .bind(state >= 3 ? s(u"Siparişiniz işleme alındı.") : QString())
                .bind(state >= 4 && rng.chance(0.5) ? s(u"Eksik ürünler tedarikte.") : QString())
                .bind(state)
                .bind(roundMoney(tutar))
                .bind(roundMoney(indirim))
                .bind(roundMoney(net))
                .bind(roundMoney(vergi));
            const int idno = order.scalar().toInt();
            for (const Line &ln : orderLines) {
                lines.add({idno, a.carino, ln.item->stokno, ln.item->barkod, ln.item->adi, ln.qty, ln.delivered,
                           ln.qty - ln.delivered, ln.item->price, ln.item->price, ln.item->kdv, a.ind1, a.ind2,
                           ln.amounts.tutar, ln.amounts.indirimtutar, ln.amounts.nettutar, ln.amounts.vergitutari,
                           ln.amounts.netbirimfiyat, byStaff ? a.rep : customerUser, 0});
            }
        }

        // Invoices, their lines as stock movements, and the debit in the statement.
        const int invoiceCount = rng.range(2, 5);
        for (int f = 0; f < invoiceCount; ++f) {
            const QDate date = baseDate.addDays(-rng.range(5, 300));
            const QString evrakno = QStringLiteral("KRV2026%1").arg(++invoiceSerial, 6, 10, QLatin1Char('0'));
            const int lineCount = rng.range(2, 6);
            std::vector<std::pair<const Item *, double>> picked;
            double toplam = 0, indirim = 0, matrah = 0, kdv = 0;
            std::vector<LineAmounts> amounts;
            for (int l = 0; l < lineCount; ++l) {
                const Item &item = items[rng.next() % items.size()];
                const double qty = rng.range(1, 10);
                const LineAmounts am = computeLine(qty, item.price, item.kdv, a.ind1, a.ind2, 0, 0);
                picked.push_back({&item, qty});
                amounts.push_back(am);
                toplam += am.tutar;
                indirim += am.indirimtutar;
                matrah += am.nettutar;
                kdv += am.vergitutari;
            }
            const double kdvdahil = roundMoney(matrah + kdv);
            invoice.bind(a.carino)
                .bind(evrakno)
                .bind(isoDate(date))
                .bind(QStringLiteral("14:%1:00").arg(rng.range(10, 59)))
                .bind(a.rep)
                .bind(30)
                .bind(QStringLiteral("IRS%1").arg(invoiceSerial, 6, 10, QLatin1Char('0')))
                .bind(isoDate(date))
                .bind(s(u"Satış İrsaliyesi"))
                .bind(QString())
                .bind(QString())
                .bind(roundMoney(toplam))
                .bind(roundMoney(indirim))
                .bind(roundMoney(matrah))
                .bind(roundMoney(kdv))
                .bind(kdvdahil);
            const int idno = invoice.scalar().toInt();
            for (size_t l = 0; l < picked.size(); ++l) {
                const LineAmounts &am = amounts[l];
                moves.add({picked[l].first->stokno, a.carino, idno, isoDate(date), QStringLiteral("14:00:00"),
                           s(u"Satış"), QStringLiteral("KRV"), invoiceSerial, picked[l].second,
                           picked[l].first->price, am.tutar, a.ind1, a.ind2, am.indirimtutar, am.netbirimfiyat,
                           am.nettutar, picked[l].first->kdv, am.vergitutari, 30, repName});
            }
            statementRows.push_back({date, s(u"Satış Faturası"), evrakno, QString(), kdvdahil, 0, idno});
        }

        // Collections, some paid by card through the virtual POS; now and then a payment.
        const int collectionCount = rng.range(1, 4);
        for (int c = 0; c < collectionCount; ++c) {
            const QDate date = baseDate.addDays(-rng.range(1, 280));
            static const char16_t *const kinds[] = {u"Nakit", u"Havale", u"Çek", u"Kredi Kartı"};
            const QString cins = s(rng.pick(kinds));
            const double amount = roundMoney(rng.range(50000, 2500000) / 100.0);
            const bool tediye = rng.chance(0.1);
            static const int installments[] = {1, 1, 3, 6};
            QVariant posNo(QMetaType(QMetaType::Int));
            if (!tediye && cins == s(u"Kredi Kartı")) {
                pos.bind(a.carino)
                    .bind(isoDate(date))
                    .bind(QStringLiteral("11:%1:00").arg(rng.range(10, 59)))
                    .bind(amount)
                    .bind(s(rng.pick(firstNames)) + QLatin1Char(' ') + s(rng.pick(lastNames)))
                    .bind(QStringLiteral("4%1 **** **** %2").arg(rng.digits(3), rng.digits(4)))
                    .bind(s(u"Demo Katılım Bankası"))
                    .bind(rng.pick(installments))
                    .bind(rng.digits(6))
                    .bind(QStringLiteral("VP%1").arg(++receiptSerial, 8, 10, QLatin1Char('0')));
                posNo = pos.scalar();
            }
            collection.bind(a.carino)
                .bind(isoDate(date))
                .bind(QStringLiteral("10:%1:00").arg(rng.range(10, 59)))
                .bind(tediye ? QStringLiteral("Tediye") : QStringLiteral("Tahsilat"))
                .bind(cins)
                .bind(isoDate(date.addDays(cins == s(u"Çek") ? 60 : 0)))
                .bind(amount)
                .bind(tediye ? s(u"İade ödemesi") : s(u"Cari hesaba tahsilat"))
                .bind(QStringLiteral("TH%1").arg(rng.digits(6)))
                .bind(rng.digits(8))
                .bind(posNo);
            const int idno = collection.scalar().toInt();
            statementRows.push_back({date, tediye ? QStringLiteral("Tediye") : QStringLiteral("Tahsilat"),
                                     QStringLiteral("TH%1").arg(idno), cins, tediye ? amount : 0,
                                     tediye ? 0 : amount, idno});
        }

        std::stable_sort(statementRows.begin(), statementRows.end(),
                         [](const Movement &x, const Movement &y) { return x.date < y.date; });
        for (const Movement &m : statementRows)
            statement.add({a.carino, isoDate(m.date), isoDate(m.date.addDays(30)), m.turadi, m.evrak, m.borc,
                           m.alacak, m.aciklama, m.belgeno});

        // Every third account has a cart waiting, with some lines not selected.
        if (ai % 3 == 0) {
            const int cartLines = rng.range(2, 5);
            for (int l = 0; l < cartLines; ++l) {
                const Item &item = items[rng.next() % items.size()];
                const double qty = rng.range(1, 8);
                const LineAmounts am = computeLine(qty, item.price, item.kdv, a.ind1, a.ind2, 0, 0);
                cart.add({a.carino, item.stokno, item.barkod, item.adi, qty, item.price, item.kdv, a.ind1, a.ind2, 0,
                          l == 1 ? 0 : 1, customerUser, isoDate(baseDate.addDays(-rng.range(0, 3))),
                          QStringLiteral("09:30:00"), am.tutar, am.indirimtutar, am.nettutar, am.vergitutari,
                          am.netbirimfiyat});
            }
        }
    }
    lines.flush();
    moves.flush();
    statement.flush();
    cart.flush();
    // The movement number of an order line (STOKHAR_NO) is the line's own number until
    // the goods move; the balance methods address lines by it.
    execSql(db, QStringLiteral("UPDATE siparis_satirlari SET stokharno = sirano WHERE stokharno = 0"));
}

struct IndexDefinition {
    QString name, sql;
};

// The catalogue's secondary indexes, dropped for the bulk fill and built again at its end
// (in the same transaction): one sort per index instead of a million random inserts
// into each. Keys of primary keys and unique constraints stay.
std::vector<IndexDefinition> dropSecondaryIndexes(QSqlDatabase &db, Backend backend)
{
    const QString tables = QStringLiteral("'stoklar', 'stok_anahtarlari'");
    SqlQuery q(db, backend == Backend::Sqlite
                       ? QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'index' AND sql IS NOT NULL "
                                        "AND tbl_name IN (%1) ORDER BY name")
                             .arg(tables)
                       : QStringLiteral("SELECT indexname, indexdef FROM pg_indexes WHERE schemaname = "
                                        "current_schema() AND tablename IN (%1) AND indexname NOT IN "
                                        "(SELECT conname FROM pg_constraint) ORDER BY indexname")
                             .arg(tables));
    q.exec();
    std::vector<IndexDefinition> indexes;
    while (q.next())
        indexes.push_back({q.toString(0), q.toString(1)});
    for (const IndexDefinition &index : indexes)
        execSql(db, QStringLiteral("DROP INDEX %1").arg(index.name));
    return indexes;
}

} // namespace

void fillDemoData(Store &store, const DemoOptions &options)
{
    if (!store.isEmpty())
        throw StoreError(QStringLiteral("Veritabanı boş değil; örnek veri yalnızca boş veritabanına yazılır."));
    Rng rng(options.seed);
    const bool sqlite = store.backend() == Backend::Sqlite;
    if (sqlite) {
        // The database is empty: a rollback journal costs next to nothing here, while WAL
        // would write every page twice (log, then checkpoint). A large page cache keeps
        // the one big transaction from spilling.
        QSqlDatabase db = store.database();
        execSql(db, QStringLiteral("PRAGMA journal_mode=TRUNCATE"));
        execSql(db, QStringLiteral("PRAGMA cache_size=-262144"));
    }
    auto restore = [&] {
        if (!sqlite)
            return;
        QSqlDatabase db = store.database();
        QSqlQuery(db).exec(QStringLiteral("PRAGMA cache_size=-2000"));
        QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    };
    try {
    store.write([&](QSqlDatabase &db) {
        const std::vector<IndexDefinition> deferred = dropSecondaryIndexes(db, store.backend());
        insertFixedData(db);
        const int pictureCount = std::clamp(options.stockItems / 200, 8, 48);
        insertPictures(db, pictureCount);
        insertContent(db);
        const auto items = insertCatalogue(db, rng, std::max(0, options.stockItems), pictureCount);
        const auto accounts = insertAccounts(db, rng, std::max(0, options.accounts));
        insertUsers(db, rng, accounts);
        insertAccountHistory(db, rng, accounts, items);
        for (const IndexDefinition &index : deferred)
            execSql(db, index.sql);
    });
    } catch (...) {
        restore();
        throw;
    }
    restore();
    if (sqlite) {
        QSqlDatabase db = store.database();
        execSql(db, QStringLiteral("ANALYZE"));
    }
}

QList<DemoUser> listUsers(Store &store, int limit)
{
    QList<DemoUser> users;
    store.read([&](QSqlDatabase &db) {
        SqlQuery q(db, QStringLiteral("SELECT k.sirano, k.adi, k.sifre, k.musteritipi, COALESCE(k.carino, 0), "
                                      "(SELECT MIN(b.bilgisayarid) FROM bilgisayarlar b WHERE b.sirano = k.sirano) "
                                      "FROM kullanicilar k WHERE k.aktif = 1 "
                                      "ORDER BY CASE WHEN k.musteritipi IN (1, 2) THEN 0 ELSE 1 END, k.sirano "
                                      "LIMIT ?"));
        q.bind(limit).exec();
        while (q.next())
            users.append({q.toInt(0), q.toString(1), q.toString(2), q.toInt(3), q.toInt(4), q.toString(5)});
    });
    return users;
}

void registerComputer(Store &store, const QString &computerId, const QString &userName)
{
    if (computerId.trimmed().isEmpty())
        throw StoreError(QStringLiteral("Bilgisayar kimliği boş olamaz."));
    store.write([&](QSqlDatabase &db) {
        SqlQuery find(db, QStringLiteral("SELECT sirano FROM kullanicilar WHERE adi = ?"));
        const QVariant sirano = find.bind(userName).scalar();
        if (!sirano.isValid())
            throw StoreError(QStringLiteral("Kullanıcı bulunamadı: %1").arg(userName));
        SqlQuery(db, QStringLiteral("DELETE FROM bilgisayarlar WHERE bilgisayarid = ?")).bind(computerId).exec();
        SqlQuery(db, QStringLiteral("INSERT INTO bilgisayarlar (bilgisayarid, sirano, bilgisayaradi, kayittarihi) "
                                    "VALUES (?, ?, ?, ?)"))
            .bind(computerId)
            .bind(sirano)
            .bind(QString())
            .bind(QDate::currentDate().toString(Qt::ISODate))
            .exec();
    });
}

} // namespace store
