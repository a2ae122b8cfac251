// The order confirmation against a canned server: what it loads, what it pre-selects,
// how the cargo company follows the cargo kind, and the checks of "Evet".
#include "baglantiu.h"
#include "cartcanned.h"
#include "codec.h"
#include "dialogs.h"
#include "modaldialog.h"
#include "onaysipu.h"
#include "sqlconnection.h"
#include "table.h"
#include "testmain.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace carttest;
using T = wire::ColumnType;

namespace {

// A reader of (id, text) rows.
Answer secenekler(const QList<QPair<int, QString>> &satirlar)
{
    wire::Table t;
    t.addColumn({QStringLiteral("ID"), T::Int32, 0, true});
    t.addColumn({QStringLiteral("ADI"), T::String, 100, true});
    for (const auto &[id, adi] : satirlar) {
        const int r = t.appendRow();
        t.setValue(r, 0, id);
        t.setValue(r, 1, adi);
    }
    return sonuc(wire::tableToJson(t));
}

struct Firma {
    int sirano;
    QString adi, uyari;
};

Answer firmalar(const QList<Firma> &satirlar)
{
    wire::Table t;
    t.addColumn({QStringLiteral("SIRANO"), T::Int32, 0, true});
    t.addColumn({QStringLiteral("ADI"), T::String, 100, true});
    t.addColumn({QStringLiteral("UYARI"), T::String, 250, true});
    for (const Firma &f : satirlar) {
        const int r = t.appendRow();
        t.setValue(r, 0, f.sirano);
        t.setValue(r, 1, f.adi);
        t.setValue(r, 2, f.uyari);
    }
    return sonuc(wire::tableToJson(t));
}

TSonucBilgisi oturum()
{
    TSonucBilgisi b;
    b.SetCARINO(42);
    b.SetSirano(951);
    b.SetADI(QStringLiteral("AHMET"));
    b.SetCariAdi(QStringLiteral("YILDIZ OTO"));
    return b;
}

struct Ortam {
    Sunucu s;
    std::unique_ptr<platform::TSQLConnection> bagc = s.baglanti();
    TSonucBilgisi b = oturum();
    Ortam()
    {
        s.cevap(QStringLiteral("TeslimVer"),
                secenekler({{1, QStringLiteral("Gelip Alacak")}, {2, QStringLiteral("Gönderilecek")},
                            {3, QStringLiteral("Servisle")}}));
        s.cevap(QStringLiteral("KargoVer"),
                secenekler({{4, QStringLiteral("Anlaşmalı Kargo")}, {5, QStringLiteral("Ambar")}}));
        s.cevap(QStringLiteral("KargolarVer"),
                firmalar({{31, QStringLiteral("HIZLI KARGO"), QStringLiteral("Cumartesi dağıtım yok")},
                          {32, QStringLiteral("YURT KARGO"), QStringLiteral("Alıcı ödemeli")}}));
    }
    std::unique_ptr<TONAYSIP> ac()
    {
        return std::unique_ptr<TONAYSIP>(
            TONAYSIP::Ac(nullptr, bagc.get(), QStringLiteral("Vadesi geçmiş bakiye"), &b, QStringLiteral("192,60")));
    }
};

QStringList kalemler(const QComboBox *c)
{
    QStringList r;
    for (int i = 0; i < c->count(); ++i)
        r << c->itemText(i);
    return r;
}

} // namespace

class TestOnaySip : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { platform::SetBeepHook([](unsigned) {}); }
    void acilis();
    void teslimOnSecimi_data();
    void teslimOnSecimi();
    void kargoFirmalari();
    void evet_data();
    void evet();
    void tamSecimKabul();
};

void TestOnaySip::acilis()
{
    Ortam o;
    auto d = o.ac();
    QCOMPARE(d->windowTitle(), QStringLiteral("Sipariş Onay"));
    QCOMPARE(d->size(), QSize(894, 526));
    QCOMPARE(d->Label2->text(), QStringLiteral("Kullanıcı: AHMET\r\nCari     : YILDIZ OTO\r\nTutar    : 192,60"));
    QCOMPARE(d->Label3->text(), QStringLiteral("Vadesi geçmiş bakiye"));
    QCOMPARE(d->Label1->text(), QStringLiteral("Yukarıda bilgileri verilen siparişi onaylıyor musunuz ?"));
    QCOMPARE(d->teslimbox->Count(), 3);
    QCOMPARE(d->teslimbox->ItemText(2), QStringLiteral("Servisle"));
    QCOMPARE(d->teslimbox->ItemId(2), 3);
    QCOMPARE(d->boxkargo->Count(), 2);
    QCOMPARE(d->boxkargo->ItemIndex(), -1); // no cargo kind chosen for the user
    QCOMPARE(d->kargocombo->count(), 0);
    QCOMPARE(o.s.parametreler(QStringLiteral("KargolarVer")).size(), 0);
    QVERIFY(!o.bagc->Connected());
}

void TestOnaySip::teslimOnSecimi_data()
{
    QTest::addColumn<int>("adet");
    QTest::addColumn<int>("secili");
    QTest::newRow("birkac tur: ikincisi") << 3 << 1;
    QTest::newRow("iki tur: ikincisi") << 2 << 1;
    QTest::newRow("tek tur: o") << 1 << 0;
    QTest::newRow("tur yok") << 0 << -1;
}

void TestOnaySip::teslimOnSecimi()
{
    QFETCH(int, adet);
    QFETCH(int, secili);
    Ortam o;
    QList<QPair<int, QString>> turler;
    for (int i = 0; i < adet; ++i)
        turler.append({10 + i, QStringLiteral("TESLİM %1").arg(i)});
    o.s.cevap(QStringLiteral("TeslimVer"), secenekler(turler));
    auto d = o.ac();
    QCOMPARE(d->teslimbox->ItemIndex(), secili);
}

void TestOnaySip::kargoFirmalari()
{
    Ortam o;
    auto d = o.ac();

    // Two companies: the blank item stays chosen and no warning shows.
    d->boxkargo->SetItemIndex(0);
    d->boxkargoClick();
    QCOMPARE(o.s.parametreler(QStringLiteral("KargolarVer")).last(), QJsonArray{4});
    QCOMPARE(kalemler(d->kargocombo), (QStringList{" ", "HIZLI KARGO", "YURT KARGO"}));
    QCOMPARE(d->kargocombo->currentIndex(), 0);
    QCOMPARE(d->uyarikargo->text(), QString());
    d->kargocombo->setCurrentIndex(2);
    d->kargocomboChange();
    QCOMPARE(d->uyarikargo->text(), QStringLiteral("Alıcı ödemeli"));

    // Another kind with exactly one company: chosen at once with its warning; the old
    // warning does not linger.
    o.s.cevap(QStringLiteral("KargolarVer"), firmalar({{40, QStringLiteral("AMBAR NAKLİYE"), QStringLiteral("Depodan teslim")}}));
    d->boxkargo->SetItemIndex(1);
    d->boxkargoClick();
    QCOMPARE(o.s.parametreler(QStringLiteral("KargolarVer")).last(), QJsonArray{5});
    QCOMPARE(kalemler(d->kargocombo), (QStringList{" ", "AMBAR NAKLİYE"}));
    QCOMPARE(d->kargocombo->currentIndex(), 1);
    QCOMPARE(d->uyarikargo->text(), QStringLiteral("Depodan teslim"));

    // A kind without companies leaves only the blank item and no warning.
    o.s.cevap(QStringLiteral("KargolarVer"), firmalar({}));
    d->boxkargo->SetItemIndex(0);
    d->boxkargoClick();
    QCOMPARE(kalemler(d->kargocombo), QStringList{" "});
    QCOMPARE(d->uyarikargo->text(), QString());

    // A refused company list is reported and leaves the list as it was.
    o.s.cevap(QStringLiteral("KargolarVer"), hata("Kargo türü bulunamadı."));
    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("Kargo türü bulunamadı."));
    d->boxkargoClick();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(kalemler(d->kargocombo), QStringList{" "});
    QVERIFY(!o.bagc->Connected());
}

void TestOnaySip::evet_data()
{
    QTest::addColumn<int>("teslimAdedi");
    QTest::addColumn<int>("kargoTuru");  // -1: none chosen
    QTest::addColumn<int>("firma");      // list index
    QTest::addColumn<QString>("mesaj");
    QTest::newRow("teslim durumu yok") << 0 << 0 << 1 << QStringLiteral("Lütfen Teslim Durumu Seçiniz !");
    QTest::newRow("kargo turu yok") << 3 << -1 << 0 << QStringLiteral("Lütfen Kargo Türünü Seçiniz !");
    QTest::newRow("bos firma") << 3 << 0 << 0 << QStringLiteral("Lütfen Kargo  Seçiniz !");
}

void TestOnaySip::evet()
{
    QFETCH(int, teslimAdedi);
    QFETCH(int, kargoTuru);
    QFETCH(int, firma);
    QFETCH(QString, mesaj);
    Ortam o;
    if (teslimAdedi == 0)
        o.s.cevap(QStringLiteral("TeslimVer"), secenekler({}));
    auto d = o.ac();
    if (kargoTuru >= 0) {
        d->boxkargo->SetItemIndex(kargoTuru);
        d->boxkargoClick();
        d->kargocombo->setCurrentIndex(firma);
    }
    testsupport::ModalDialogHelper dialogs;
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Uyarı"), mesaj);
    d->Button1Click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(d->result(), int(QDialog::Rejected)); // still open for another choice
    QVERIFY(d->Button1->isEnabled());
}

void TestOnaySip::tamSecimKabul()
{
    Ortam o;
    auto d = o.ac();
    d->teslimbox->SetItemIndex(2);
    d->boxkargo->SetItemIndex(0);
    d->boxkargoClick();
    d->kargocombo->setCurrentIndex(2);
    d->aciklamagir->setPlainText(QStringLiteral("Öğlene kadar"));
    d->Button1Click();
    QCOMPARE(d->result(), int(QDialog::Accepted));
    QCOMPARE(d->td, 3);
    QCOMPARE(d->kt, 4);
    QCOMPARE(d->KN, 32);
    // The dialog sends nothing itself.
    QCOMPARE(o.s.parametreler(QStringLiteral("SiparisKaydet")).size(), 0);
    // A second press while it closes changes nothing.
    QVERIFY(!d->Button1->isEnabled());
    d->kargocombo->setCurrentIndex(1);
    d->Button1Click();
    QCOMPARE(d->KN, 32);
}

KORVEL_TEST_MAIN(TestOnaySip)
#include "tst_onaysip.moc"
