// The road of an order through the real main window against the substitute server: log
// in, search, open an item and add it with a quantity rounded up to whole packages, add a
// second one, open the cart and check its totals, keep one line selected, send it with
// delivery kind, cargo kind, company and a note, and find exactly that order on the server
// while the cart keeps the line that was not selected.
#include "anapencere.h"
#include "baglantiu.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "displayformat.h"
#include "gridview.h"
#include "modaldialog.h"
#include "onaysipu.h"
#include "sepetdb.h"
#include "stokayarintiu.h"
#include "testmain.h"
#include "unit1.h"
#include "utils.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QThreadPool>

using namespace carttest;

namespace {

struct Stok {
    int stokno = 0;
    QString kod;
    int koli = 1;
};

// An active, priced item whose code finds it; with `koliliMi` one sold in packages.
Stok stokBul(bool koliliMi, int haric = 0)
{
    const QVariantList satir = sorgu(
        QStringLiteral("SELECT stokno || '|' || kod || '|' || koliadet FROM stoklar WHERE aktif = 1 AND koliadet %1 "
                       "AND stokno <> %2 AND listefiyat > 0 ORDER BY stokno LIMIT 1")
            .arg(koliliMi ? QStringLiteral("> 1") : QStringLiteral("= 1"))
            .arg(haric));
    Stok s;
    if (satir.isEmpty())
        return s;
    const QStringList p = satir.first().toString().split(u'|');
    s.stokno = p.value(0).toInt();
    s.kod = p.value(1);
    s.koli = p.value(2).toInt();
    return s;
}

void ara(TForm1 &f, const QString &metin)
{
    f.araedit->clear();
    f.araedit->setFocus();
    QTest::keyClicks(f.araedit, metin);
    QTest::keyClick(f.araedit, Qt::Key_Return);
    QTRY_VERIFY_WITH_TIMEOUT(f.araedit->isEnabled() && AsyncHavuzu()->activeThreadCount() == 0, 20000);
}

// Searches the item, opens it from the list and adds it with the quantity typed.
void ekle(TForm1 &f, const Stok &s, int yazilan)
{
    ara(f, s.kod);
    int satir = -1;
    for (int r = 0; r < f.cxGrid1DBTableView1->RowCount(); ++r)
        if (f.cxGrid1DBTableView1->Value(r, QStringLiteral("STOK_STOKNO")).toInt() == s.stokno)
            satir = r;
    QVERIFY2(satir >= 0, qPrintable(s.kod));
    f.cxGrid1DBTableView1->SetFocusedRow(satir);

    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer ekle;
    ekle.button = QStringLiteral("Sipariş ekle");
    ekle.title = QStringLiteral("Sepete Ekle");
    ekle.inspect = [&](QWidget *w) {
        auto *d = qobject_cast<Tstokayarinti *>(w);
        QVERIFY(d);
        QCOMPARE(d->adet->value(), s.koli); // one package to start with
        d->adet->setFocus();
        d->adet->selectAll();
        QTest::keyClick(d->adet, Qt::Key_Backspace);
        QTest::keyClicks(d->adet, QString::number(yazilan));
    };
    dialogs.expect(ekle);
    f.cxGrid1DBTableView1DblClick();
    KORVEL_VERIFY_DIALOGS(dialogs);
}

QString para(double x)
{
    return platform::FormatFloat(QStringLiteral("#,###,##0.00"), x);
}

} // namespace

class TestSiparisYolu : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void siparisYolu();

private:
    anapencere::Sunucu m_server;
};

void TestSiparisYolu::initTestCase()
{
    platform::SetBeepHook([](unsigned) {});
    QVERIFY2(m_server.baslat(), qPrintable(m_server.hata()));
    QVERIFY(m_server.kullaniciSec(0));
}

void TestSiparisYolu::siparisYolu()
{
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    const int carino = f.sbilgi->CARINO();
    QVERIFY(sepetiKur(carino, {}));

    const Stok kolili = stokBul(true);
    const Stok tekli = stokBul(false, kolili.stokno);
    QVERIFY2(kolili.stokno > 0 && tekli.stokno > 0, "the demo catalogue lacks suitable items");

    // One above a whole package is sent as the next whole package.
    const int miktar = 2 * kolili.koli;
    ekle(f, kolili, kolili.koli + 1);
    ekle(f, tekli, 3);

    // The cart page: both lines selected as added, with the server's amounts.
    f.sPageControl1->setCurrentWidget(f.ssepet);
    QTRY_VERIFY_WITH_TIMEOUT(f.cxGrid2->isEnabled() && AsyncHavuzu()->activeThreadCount() == 0, 20000);
    QCOMPARE(f.sPageControl1->tabText(f.sPageControl1->indexOf(f.ssepet)), QStringLiteral("2=Sepet"));
    QCOMPARE(f.cxGridDBTableView1->RowCount(), 2);
    QCOMPARE(f.cxGridDBTableView1->Value(0, QStringLiteral("STOKNO")).toInt(), kolili.stokno);
    QCOMPARE(f.cxGridDBTableView1->Value(0, QStringLiteral("MIKTAR")).toDouble(), double(miktar));
    auto toplam = [&](const char *alan, const QString &kosul) {
        double t = 0;
        for (const QVariant &v : sorgu(QStringLiteral("SELECT %1 FROM sepet WHERE carino = %2 AND %3 ORDER BY sirano")
                                           .arg(QLatin1String(alan))
                                           .arg(carino)
                                           .arg(kosul)))
            t = IkiHaneYuvarla(t + v.toDouble());
        return t;
    };
    double tutar = toplam("tutar", QStringLiteral("1 = 1"));
    double indirim = toplam("indirimtutar", QStringLiteral("1 = 1"));
    double vergi = toplam("vergitutari", QStringLiteral("1 = 1"));
    QVERIFY(tutar > 0);
    QCOMPARE(f.aratoplaml->text(), para(tutar));
    QCOMPARE(f.indiriml->text(), para(indirim));
    QCOMPARE(f.vergil->text(), para(vergi));
    QCOMPARE(f.geneltoplaml->text(),
             para(IkiHaneYuvarla(IkiHaneYuvarla(tutar - indirim) + vergi)));

    // Only the packaged item goes: everything unselected, then its check box.
    f.Button5->click();
    QCOMPARE(f.geneltoplaml->text(), QStringLiteral("0,00"));
    f.cxGridDBTableView1->SetFocusedRow(0);
    f.cxGridDBTableView1->SetFocusedColumn(f.cxGridDBTableView1->ColumnByFieldName(QStringLiteral("SEC")));
    f.cxGridDBTableView1DblClick();
    const QString kosul = QStringLiteral("stokno = %1").arg(kolili.stokno);
    tutar = toplam("tutar", kosul);
    indirim = toplam("indirimtutar", kosul);
    vergi = toplam("vergitutari", kosul);
    const QString genel = para(IkiHaneYuvarla(IkiHaneYuvarla(tutar - indirim) + vergi));
    QCOMPARE(f.aratoplaml->text(), para(tutar));
    QCOMPARE(f.geneltoplaml->text(), genel);

    // Send it with a delivery kind, a cargo kind, a company and a note.
    const QString not_ = QStringLiteral("Öğleden önce teslim, arka kapı.");
    int td = 0, kt = 0, kn = 0;
    testsupport::ModalDialogHelper dialogs(20000);
    testsupport::DialogAnswer onay;
    onay.button = QStringLiteral("Evet");
    onay.title = QStringLiteral("Sipariş Onay");
    onay.inspect = [&](QWidget *w) {
        auto *d = qobject_cast<TONAYSIP *>(w);
        QVERIFY(d);
        QCOMPARE(d->Label2->text(), TONAYSIP::OzetMetni(f.sbilgi->ADI(), f.sbilgi->CariAdi(), genel));
        QVERIFY(d->teslimbox->Count() > 0 && d->boxkargo->Count() > 0);
        QVERIFY(d->teslimbox->ItemIndex() >= 0);
        td = d->teslimbox->ItemId(d->teslimbox->ItemIndex());
        // The first cargo kind that has companies.
        for (int i = 0; i < d->boxkargo->Count() && d->kargocombo->count() < 2; ++i) {
            d->boxkargo->SetItemIndex(i);
            d->boxkargoClick();
        }
        QVERIFY(d->kargocombo->count() >= 2);
        kt = d->boxkargo->ItemId(d->boxkargo->ItemIndex());
        d->kargocombo->setCurrentIndex(1);
        kn = sorgu(QStringLiteral("SELECT sirano FROM kargo_firmalari WHERE kargoid = %1 AND adi = '%2'")
                       .arg(kt)
                       .arg(d->kargocombo->currentText()))
                 .value(0)
                 .toInt();
        d->aciklamagir->insertPlainText(not_);
    };
    dialogs.expect(onay);
    dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Bilgi"), QStringLiteral("Siparişiniz Gönderildi !"));
    const QVariant oncekiSon = sorgu(QStringLiteral("SELECT COALESCE(MAX(idno), 0) FROM siparisler")).value(0);
    f.Button1->click();
    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(kn > 0);

    // The cart keeps the line that was not selected.
    QCOMPARE(f.sepet->RecordCount(), 1);
    QCOMPARE(f.cxGridDBTableView1->Value(0, QStringLiteral("STOKNO")).toInt(), tekli.stokno);
    QCOMPARE(f.sPageControl1->tabText(f.sPageControl1->indexOf(f.ssepet)), QStringLiteral("1=Sepet"));
    QCOMPARE(f.geneltoplaml->text(), QStringLiteral("0,00"));

    // Exactly one new order, with the choices, the note and the one line.
    const QVariantList yeni = sorgu(
        QStringLiteral("SELECT idno || '|' || teslimid || '|' || kargoid || '|' || kargofirmano || '|' || aciklama "
                       "FROM siparisler WHERE idno > %1 AND carino = %2")
            .arg(oncekiSon.toInt())
            .arg(carino));
    QCOMPARE(yeni.size(), 1);
    const QStringList s = yeni.first().toString().split(u'|');
    QCOMPARE(s.mid(1), (QStringList{QString::number(td), QString::number(kt), QString::number(kn), not_}));
    QCOMPARE(sorgu(QStringLiteral("SELECT printf('%d|%.2f', stokno, miktar) FROM siparis_satirlari WHERE idno = %1").arg(s.first())),
             (QVariantList{QVariant(QStringLiteral("%1|%2.00").arg(kolili.stokno).arg(miktar))}));
}

KORVEL_TEST_MAIN(TestSiparisYolu)
#include "tst_siparisyolu.moc"
