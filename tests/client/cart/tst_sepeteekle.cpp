// From a list of the main window into the server-side cart: a new line through the stock
// detail dialog, the same item again changing its line, a campaign item for staff, and
// what the window does with the server's answers.
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "codec.h"
#include "dialogs.h"
#include "gridview.h"
#include "modaldialog.h"
#include "netfixture.h"
#include "proxim.h"
#include "sqlconnection.h"
#include "stokayarintiu.h"
#include "table.h"
#include "testmain.h"
#include "unit1.h"
#include "utils.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QMutex>
#include <QPushButton>
#include <QSpinBox>
#include <QThreadPool>

#include <functional>

using Answer = nettest::CannedServer::Answer;

namespace {

// Fills a dataset of the window from a server method, as its page would.
void yukle(TForm1 &f, TClientDataSet *veri, const std::function<const wire::Table *(TServerMethods1Client &)> &cagri)
{
    auto kopya = f.bagc->Clone();
    kopya->Open();
    TServerMethods1Client proxy(kopya.get());
    const wire::Table *t = cagri(proxy);
    QVERIFY(t);
    veri->LoadFromTable(*t);
    kopya->Close();
}

// Lines of the cart of the item.
QList<int> satirlar(TClientDataSet &sepet, int stokno)
{
    QList<int> sonuc;
    for (sepet.First(); !sepet.Eof(); sepet.Next())
        if (sepet.FieldByName(QStringLiteral("STOKNO"))->AsInteger() == stokno)
            sonuc << sepet.FieldByName(QStringLiteral("SIRANO"))->AsInteger();
    return sonuc;
}

void adetYaz(QWidget *dialog, int adet)
{
    auto *kutu = dialog->findChild<QSpinBox *>(QStringLiteral("adet"));
    QVERIFY(kutu);
    kutu->setFocus();
    kutu->selectAll();
    QTest::keyClick(kutu, Qt::Key_Backspace);
    QTest::keyClicks(kutu, QString::number(adet));
}

Answer cevapla(int status, const QByteArray &body)
{
    Answer a;
    a.status = status;
    a.body = body;
    return a;
}

Answer sonuc(const QJsonValue &value)
{
    return cevapla(200, QJsonDocument(QJsonObject{{QStringLiteral("result"), QJsonArray{value}}}).toJson());
}

// A one-row stock list with what the opener reads.
wire::Table stokSatiri()
{
    using T = wire::ColumnType;
    wire::Table t;
    const std::pair<const char *, T> kolonlar[] = {
        {"STOK_STOKNO", T::Int32}, {"BARKOD", T::String}, {"ADI", T::String},  {"MARKA", T::String},
        {"FINISHKOD", T::String},  {"MODEL", T::String},  {"KDV", T::Double},  {"K", T::Int32},
        {"FIYAT", T::Double},      {"INDIRIMYAZI", T::String}, {"IND1", T::Double}, {"IND2", T::Double},
        {"IND3", T::Double},       {"IND4", T::Double}};
    for (const auto &[name, type] : kolonlar)
        t.addColumn({QString::fromLatin1(name), type, 50, true});
    const QVariantList degerler{555, QStringLiteral("869555"), QStringLiteral("FREN DİSKİ"), QStringLiteral("M"),
                                QStringLiteral("F"), QStringLiteral("X"), 20.0, 0, 100.0, QString(), 0.0, 0.0, 0.0, 0.0};
    const int r = t.appendRow();
    for (int c = 0; c < degerler.size(); ++c)
        t.setValue(r, c, degerler.at(c));
    return t;
}

} // namespace

class TestSepeteEkle : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(AsyncHavuzu()->waitForDone(0), 20000); }
    void yeniSatirVeAyniStokSatiriDegistirir();
    void kampanyaliStokPersonelde();
    void sunucununCevabi_data();
    void sunucununCevabi();
    void eklemeHatasiGosterilir();

private:
    anapencere::Sunucu m_server;
};

void TestSepeteEkle::initTestCase()
{
    platform::SetBeepHook([](unsigned) {});
    QVERIFY2(m_server.baslat(), qPrintable(m_server.hata()));
}

void TestSepeteEkle::yeniSatirVeAyniStokSatiriDegistirir()
{
    QVERIFY(m_server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    yukle(f, f.YENILER, [&](TServerMethods1Client &p) { return p.YenilerVer2(f.sbilgi->CARINO()); });
    QVERIFY(f.YENILER->RecordCount() > 0);
    f.cxGridDBTableView5->SetFocusedRow(0);
    const int stokno = f.cxGridDBTableView5->Value(0, QStringLiteral("STOK_STOKNO")).toInt();
    const int koli = f.KoliAdetiAl(stokno);
    QVERIFY(koli >= 1);

    // One above a whole package goes up to the next package.
    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer ekle;
    ekle.button = QStringLiteral("Sipariş ekle");
    ekle.title = QStringLiteral("Sepete Ekle");
    ekle.inspect = [&](QWidget *d) {
        QCOMPARE(d->findChild<QSpinBox *>(QStringLiteral("adet"))->value(), koli);
        QVERIFY(d->findChild<QLabel *>(QStringLiteral("indirimoran"))->text().startsWith(
            f.YENILER->FieldByName(QStringLiteral("K"))->AsInteger() > 0 ? QStringLiteral("Kampanyalı ")
                                                                           : QStringLiteral("İndirim:  % ")));
        adetYaz(d, 2 * koli + 1);
    };
    dialogs.expect(ekle);
    f.cxGridDBTableView5DblClick();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QList<int> satir = satirlar(*f.sepet, stokno);
    QCOMPARE(satir.size(), 1);
    const int beklenen = koli == 1 ? 3 : 3 * koli;
    QCOMPARE(f.sepet->FieldByName(QStringLiteral("MIKTAR"))->AsFloat(), double(beklenen));
    QCOMPARE(f.sepet->FieldByName(QStringLiteral("MIKTAR"))->DisplayFormat(), QStringLiteral("#,###,##0.00"));
    const double fiyat = f.sepet->FieldByName(QStringLiteral("BIRIMFIYAT"))->AsFloat();

    // The same item again opens its line with the line's quantity and price, and changes it.
    testsupport::DialogAnswer degistir;
    degistir.button = QStringLiteral("Sipariş ekle");
    degistir.inspect = [&](QWidget *w) {
        auto *d = qobject_cast<Tstokayarinti *>(w);
        QVERIFY(d);
        QCOMPARE(d->adet->value(), beklenen);
        QCOMPARE(d->birimfiyat->Value(), fiyat);
        QCOMPARE(d->Label2->text(), QStringLiteral("Fiyat:"));
        adetYaz(d, 2 * koli);
    };
    dialogs.expect(degistir);
    f.cxGridDBTableView5DblClick();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(satirlar(*f.sepet, stokno), satir);
    f.sepet->Locate(QStringLiteral("SIRANO"), satir.first());
    QCOMPARE(f.sepet->FieldByName(QStringLiteral("MIKTAR"))->AsFloat(), double(2 * koli));
}

void TestSepeteEkle::kampanyaliStokPersonelde()
{
    QVERIFY(m_server.kullaniciSec(1));
    auto form = anapencere::ac(1);
    QVERIFY(form);
    TForm1 &f = *form;
    yukle(f, f.kampstok, [&](TServerMethods1Client &p) { return p.KampanyaliVer2(f.sbilgi->CARINO(), 1); });
    QVERIFY(f.kampstok->RecordCount() > 0);
    f.SepetYenile();
    const int once = f.sepet->RecordCount();
    // An item that is not in the cart yet.
    int row = 0;
    for (; row < f.cxGridDBTableViewkampanyali->RowCount(); ++row) {
        const int stokno = f.cxGridDBTableViewkampanyali->Value(row, QStringLiteral("STOK_STOKNO")).toInt();
        if (satirlar(*f.sepet, stokno).isEmpty())
            break;
    }
    QVERIFY(row < f.cxGridDBTableViewkampanyali->RowCount());
    f.cxGridDBTableViewkampanyali->SetFocusedRow(row);

    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer vazgec;
    vazgec.button = QStringLiteral("Vazgeç");
    vazgec.inspect = [](QWidget *w) {
        auto *d = qobject_cast<Tstokayarinti *>(w);
        QVERIFY(d);
        QVERIFY(!d->birimfiyat->isReadOnly());
        QVERIFY(d->GridPanel2->isHidden());
        QCOMPARE(d->Label2->text(), QStringLiteral("Kampanyalı Fiyat:"));
        QVERIFY(d->indirimoran->text().startsWith(QStringLiteral("Kampanyalı ")));
    };
    dialogs.expect(vazgec);
    f.cxGridDBTableViewkampanyaliDblClick();
    KORVEL_VERIFY_DIALOGS(dialogs);
    f.SepetYenile();
    QCOMPARE(f.sepet->RecordCount(), once);
}

void TestSepeteEkle::sunucununCevabi_data()
{
    QTest::addColumn<int>("cevap");
    QTest::addColumn<int>("yenileme");
    QTest::newRow("1 yeniler") << 1 << 1;
    QTest::newRow("0 yenilemez") << 0 << 0;
    QTest::newRow("2 yenilemez") << 2 << 0;
}

void TestSepeteEkle::sunucununCevabi()
{
    QFETCH(int, cevap);
    QFETCH(int, yenileme);
    QVERIFY(m_server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;

    // From here on the window talks to a server whose answers the test chooses.
    QMutex lock;
    QStringList cagrilar;
    nettest::CannedServer canned([&](const QString &method, const QByteArray &) {
        QMutexLocker l(&lock);
        cagrilar << method;
        if (method == QLatin1String("EnVer"))
            return sonuc(1);
        if (method == QLatin1String("SepetEkle2"))
            return sonuc(cevap);
        if (method == QLatin1String("CariVadeGunGecmismiBul"))
            return sonuc(QStringLiteral("Vadesi geçmiş borcunuz var."));
        return sonuc(wire::tableToJson(wire::Table()));
    });
    // The start-up steps take clones of the connection; let them finish on the real
    // server before the connection is pointed at the canned one.
    QVERIFY(QTest::qWaitFor([&] { return f.AcilisSirasiBitti(); }, 20000));
    f.bagc->SetPort(QString::number(canned.port()));
    f.stok->LoadFromTable(stokSatiri());

    testsupport::ModalDialogHelper dialogs(20000);
    dialogs.expect(QStringLiteral("Sipariş ekle"), QStringLiteral("Sepete Ekle"));
    f.StokAyrintiAc(555);
    KORVEL_VERIFY_DIALOGS(dialogs);
    {
        QMutexLocker l(&lock);
        QCOMPARE(cagrilar.count(QStringLiteral("SepetEkle2")), 1);
        QCOMPARE(cagrilar.count(QStringLiteral("SepetVer2")), yenileme);
    }

    // The overdue warning of the same server lands on the cart page.
    f.CariBakiyeUyariBak();
    QTRY_COMPARE_WITH_TIMEOUT(f.lbluyarbakiye->text(), QStringLiteral("Vadesi geçmiş borcunuz var."), 10000);
}

void TestSepeteEkle::eklemeHatasiGosterilir()
{
    QVERIFY(m_server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    nettest::CannedServer canned([](const QString &method, const QByteArray &) {
        if (method == QLatin1String("SepetEkle2"))
            return cevapla(500, QByteArrayLiteral("{\"error\":\"Miktar geçersiz.\"}"));
        if (method == QLatin1String("EnVer"))
            return sonuc(1);
        // An empty cart.
        wire::Table sepet;
        sepet.addColumn({QStringLiteral("SIRANO"), wire::ColumnType::Int32, 0, true});
        sepet.addColumn({QStringLiteral("STOKNO"), wire::ColumnType::Int32, 0, true});
        return sonuc(wire::tableToJson(sepet));
    });
    // The start-up steps take clones of the connection; let them finish on the real
    // server before the connection is pointed at the canned one.
    QVERIFY(QTest::qWaitFor([&] { return f.AcilisSirasiBitti(); }, 20000));
    f.bagc->SetPort(QString::number(canned.port()));
    f.stok->LoadFromTable(stokSatiri());
    f.cxGrid1DBTableView1->SetFocusedRow(0);

    // The stock list's entry: the cart is loaded first (empty), the dialog confirmed, and
    // the failed add shown as an error; the window goes on.
    testsupport::ModalDialogHelper dialogs(20000);
    dialogs.expect(QStringLiteral("Sipariş ekle"), QStringLiteral("Sepete Ekle"))
        .expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("Miktar geçersiz."));
    f.S2Click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(f.sepet->Active());
    QCOMPARE(f.sepet->RecordCount(), 0);
}

KORVEL_TEST_MAIN(TestSepeteEkle)
#include "tst_sepeteekle.moc"
