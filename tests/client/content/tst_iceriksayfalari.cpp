// The promotional pages of the main window against the real server: the start-up counts,
// the three loads, the announcement action, the role rules and failing calls.
#include "anapencere.h"
#include "beklesinu.h"
#include "clientdataset.h"
#include "dialogs.h"
#include "gifresim.h"
#include "gridview.h"
#include "modaldialog.h"
#include "testmain.h"
#include "unit1.h"

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QThreadPool>

namespace {

QString caption(TForm1 &f, QWidget *page)
{
    return f.sPageControl1->tabText(f.sPageControl1->indexOf(page));
}

bool idle()
{
    return AsyncHavuzu()->waitForDone(0);
}

// Activates a page and waits until its load has ended.
bool openPage(TForm1 &f, QWidget *page, QWidget *grid)
{
    f.sPageControl1->setCurrentWidget(page);
    return QTest::qWaitFor([&] { return idle() && grid->isEnabled(); }, 15000);
}

// The fixture keeps the server's database beside the settings folder it points the client at.
bool sql(const QString &statement)
{
    const QString db = QDir(QString::fromLocal8Bit(qgetenv("XDG_CONFIG_HOME"))).filePath(QStringLiteral("../b2b.sqlite"));
    bool ok = false;
    {
        QSqlDatabase d = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("icerik"));
        d.setDatabaseName(db);
        ok = d.open() && QSqlQuery(d).exec(statement);
        d.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("icerik"));
    return ok;
}

} // namespace

class TestIcerikSayfalari : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000); }
    void cleanupTestCase();
    void tabsLoadAndCarryTheirCounts();
    void announcementAction_data();
    void announcementAction();
    void rolesSwitchTheStockViews();
    void failedCallsKeepCaptionsAndEndTheLoad();

private:
    anapencere::Sunucu m_server;
    std::unique_ptr<TForm1> m_form;
};

void TestIcerikSayfalari::initTestCase()
{
    platform::SetBeepHook([](unsigned) {});
    QVERIFY2(m_server.baslat(), qPrintable(m_server.hata()));
    QVERIFY(m_server.kullaniciSec(0));
    m_form = anapencere::ac(0);
    QVERIFY(m_form);
    m_form->show();
}

void TestIcerikSayfalari::cleanupTestCase()
{
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    m_form.reset();
}

void TestIcerikSayfalari::tabsLoadAndCarryTheirCounts()
{
    TForm1 &f = *m_form;
    // Start-up: every count caption is written, the balance in the locale's form.
    QTRY_VERIFY_WITH_TIMEOUT(caption(f, f.sTabbakiyeler).endsWith(QStringLiteral("=Bakiyeler")), 15000);
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+=Sepet$")).match(caption(f, f.ssepet)).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+=Yeni Stoklar$")).match(caption(f, f.syeniler)).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+=Kampanyalı$")).match(caption(f, f.skampanyali)).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^\\d+=Duyurular$")).match(caption(f, f.sTabSheetduyuru)).hasMatch());
    QVERIFY(QRegularExpression(QStringLiteral("^-?\\d+(,\\d+)?=Bakiyeler$")).match(caption(f, f.sTabbakiyeler)).hasMatch());

    QVERIFY(openPage(f, f.syeniler, f.cxGrid6));
    QVERIFY(f.YENILER->RecordCount() > 0);
    QCOMPARE(caption(f, f.syeniler), QStringLiteral("%1=Yeni Stoklar").arg(f.YENILER->RecordCount()));
    QCOMPARE(f.cxGridDBTableView5->RowCount(), f.YENILER->RecordCount());
    QCOMPARE(f.cxGridDBTableView5->DataSource(), f.DataSource_yeniler);
    QVERIFY(!f.gifyeniler->isVisible());
    // Every column the view names exists in the answer.
    for (int i = 0; i < f.cxGridDBTableView5->ColumnCount(); ++i)
        QVERIFY2(f.cxGridDBTableView5->Columns(i)->Field(), qPrintable(f.cxGridDBTableView5->Columns(i)->FieldName()));
    QCOMPARE(f.YENILER->FieldByName(QStringLiteral("NETFIYAT"))->DisplayFormat(), QStringLiteral("#,###,##0.00"));

    QVERIFY(openPage(f, f.skampanyali, f.cxkampanyali));
    QVERIFY(f.kampstok->RecordCount() > 0);
    QCOMPARE(caption(f, f.skampanyali), QStringLiteral("%1=Kampanyalı").arg(f.kampstok->RecordCount()));
    for (int i = 0; i < f.cxGridDBTableViewkampanyali->ColumnCount(); ++i) {
        const TGridColumn *c = f.cxGridDBTableViewkampanyali->Columns(i);
        QVERIFY2(c->Field(), qPrintable(c->FieldName()));
    }

    const QString duyuruCaption = caption(f, f.sTabSheetduyuru);
    QVERIFY(openPage(f, f.sTabSheetduyuru, f.cxGridduyuru));
    TGridView *duyurular = f.cxGridduyuruBandedDuyuru;
    QCOMPARE(duyurular->RowCount(), 5);
    QVERIFY(duyurular->Value(0, duyurular->Columns(0)).toByteArray().startsWith("\xFF\xD8")); // a JPEG
    QCOMPARE(duyurular->Value(0, duyurular->Columns(2)).toString(), QStringLiteral("FREN"));
    QCOMPARE(caption(f, f.sTabSheetduyuru), duyuruCaption); // not this load's count
    // Reloading rebuilds the rows instead of adding to them.
    f.sPageControl1->setCurrentWidget(f.sstoklistesi);
    QVERIFY(openPage(f, f.sTabSheetduyuru, f.cxGridduyuru));
    QCOMPARE(duyurular->RowCount(), 5);

    // No new items: the caption says so.
    QVERIFY(sql(QStringLiteral("UPDATE stoklar SET yeni = 0")));
    f.sPageControl1->setCurrentWidget(f.sstoklistesi);
    QVERIFY(openPage(f, f.syeniler, f.cxGrid6));
    QCOMPARE(f.YENILER->RecordCount(), 0);
    QCOMPARE(caption(f, f.syeniler), QStringLiteral("0=Yeni Stoklar"));
    QVERIFY(sql(QStringLiteral("UPDATE stoklar SET yeni = 1 WHERE stokno % 3 = 0")));
}

void TestIcerikSayfalari::announcementAction_data()
{
    QTest::addColumn<QString>("arama");
    QTest::addColumn<QString>("page");
    QTest::addColumn<QString>("searchText"); // the search box afterwards; null: untouched
    QTest::newRow("blank") << "   " << "sTabSheetduyuru" << QString();
    QTest::newRow("campaign") << "#KAMPANYA#" << "skampanyali" << QString();
    QTest::newRow("new items") << QStringLiteral("#YENİ#") << "syeniler" << QString();
    QTest::newRow("keyword after a blank is searched")
        << " #KAMPANYA#" << "sstoklistesi" << QStringLiteral(" #KAMPANYA#");
    QTest::newRow("lower-case keyword is searched") << "#yeni#" << "sstoklistesi" << QStringLiteral("#yeni#");
    QTest::newRow("search text") << "FREN" << "sstoklistesi" << QStringLiteral("FREN");
}

void TestIcerikSayfalari::announcementAction()
{
    QFETCH(QString, arama);
    QFETCH(QString, page);
    QFETCH(QString, searchText);
    TForm1 &f = *m_form;
    f.sPageControl1->setCurrentWidget(f.sstoklistesi);
    QVERIFY(openPage(f, f.sTabSheetduyuru, f.cxGridduyuru));
    f.araedit->setText(QStringLiteral("ONCEKI"));
    TGridView *v = f.cxGridduyuruBandedDuyuru;
    v->ClearRecords();
    const int r = v->AppendRecord();
    v->SetValue(r, v->Columns(2), arama);
    v->SetFocusedRow(0);

    Q_EMIT v->DblClick();
    QCOMPARE(f.sPageControl1->currentWidget()->objectName(), page);
    QCOMPARE(f.araedit->text(), searchText.isNull() ? QStringLiteral("ONCEKI") : searchText);
}

void TestIcerikSayfalari::rolesSwitchTheStockViews()
{
    // Sales staff see the remaining and order quantities in both stock views.
    QVERIFY(m_server.kullaniciSec(1));
    {
        auto f = anapencere::ac(1);
        QVERIFY(f);
        for (TGridView *v : {f->cxGridDBTableView5, f->cxGridDBTableViewkampanyali})
            for (const char *field : {"KALAN", "ALINANSIPARIS", "VERILENSIPARIS"}) {
                const TGridColumn *c = v->ColumnByFieldName(QString::fromLatin1(field));
                QVERIFY(c->Visible() && c->VisibleForCustomization());
            }
        QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    }
    // Kind 4: no campaign tab, and no campaign columns in the new-items view.
    QVERIFY(m_server.kullaniciSec(4));
    auto f = anapencere::ac(4);
    QVERIFY(f);
    QVERIFY(!f->sPageControl1->isTabVisible(f->sPageControl1->indexOf(f->skampanyali)));
    for (const char *field : {"K", "KAMPFIYAT"}) {
        const TGridColumn *c = f->cxGridDBTableView5->ColumnByFieldName(QString::fromLatin1(field));
        QVERIFY(!c->Visible() && !c->VisibleForCustomization());
    }
    QVERIFY(!f->cxGridDBTableView5->ColumnByFieldName(QStringLiteral("KALAN"))->Visible());
    // Nor does an announcement lead there.
    TGridView *v = f->cxGridduyuruBandedDuyuru;
    v->SetValue(v->AppendRecord(), v->Columns(2), QStringLiteral("#KAMPANYA#"));
    v->SetFocusedRow(0);
    Q_EMIT v->DblClick();
    QCOMPARE(f->sPageControl1->currentWidget(), f->sstoklistesi);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    QVERIFY(m_server.kullaniciSec(0));
}

void TestIcerikSayfalari::failedCallsKeepCaptionsAndEndTheLoad()
{
    anapencere::Sunucu server;
    QVERIFY2(server.baslat({QStringLiteral("fail=BalonGetir:sayaç yok"), QStringLiteral("fail=YenilerVer2:yok"),
                            QStringLiteral("garble=AcilisEkranlarVer2")}),
             qPrintable(server.hata()));
    QVERIFY(server.kullaniciSec(0));
    auto form = anapencere::ac(0);
    QVERIFY(form);
    TForm1 &f = *form;
    f.show();
    // The advertisement count arrives; the failing counts leave the other captions bare.
    QTRY_VERIFY_WITH_TIMEOUT(caption(f, f.sTabSheetduyuru).endsWith(QStringLiteral("=Duyurular")), 15000);
    QTRY_VERIFY_WITH_TIMEOUT(idle(), 20000);
    QCOMPARE(caption(f, f.sTabSheetduyuru), QStringLiteral("%1=Duyurular").arg(f._acilisadet));
    QCOMPARE(caption(f, f.syeniler), QStringLiteral("Yeni Stoklar"));
    QCOMPARE(caption(f, f.sTabbakiyeler), QStringLiteral("Bakiyeler"));

    for (auto [page, grid] : {std::pair{f.syeniler, f.cxGrid6}, std::pair{f.sTabSheetduyuru, f.cxGridduyuru}}) {
        const QString before = caption(f, page);
        testsupport::ModalDialogHelper dialogs(15000);
        dialogs.expect(QStringLiteral("Tamam"), QStringLiteral("Hata"), QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!"));
        f.sPageControl1->setCurrentWidget(page);
        QVERIFY2(dialogs.waitDone(), qPrintable(dialogs.failure()));
        QTRY_VERIFY_WITH_TIMEOUT(idle() && grid->isEnabled(), 15000);
        QCOMPARE(caption(f, page), before);
        QTest::qWait(100);
        QVERIFY(!QApplication::activeModalWidget()); // shown once
    }
    QVERIFY(!f.gifyeniler->isVisible());
    QVERIFY(!f.gifduyuru->isVisible());
    QVERIFY(!f.cxGridduyuruBandedDuyuru->UpdateLocked());
}

KORVEL_TEST_MAIN(TestIcerikSayfalari)
#include "tst_iceriksayfalari.moc"
