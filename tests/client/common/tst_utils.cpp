// The shared helpers: message box, rounding, address encoding, dataset tests, look-ups.
#include "clientdataset.h"
#include "dialogs.h"
#include "exception.h"
#include "modaldialog.h"
#include "table.h"
#include "testmain.h"
#include "utils.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtConcurrent>

#include <cmath>

using platform::MessageButton;
using platform::MessageButtons;
using platform::MessageKind;

Q_DECLARE_METATYPE(platform::MessageKind)
Q_DECLARE_METATYPE(platform::MessageButton)
Q_DECLARE_METATYPE(platform::MessageButtons)

namespace {

// What the box looked like when it opened, read before Enter is pressed in it.
struct Seen {
    QString title;
    QStringList captions;
    QString focused;
    QString defaultCaption;
    bool onUiThread = false;
};

// Presses Enter in the next modal box, after recording its state.
void pressEnterInNextBox(Seen &seen)
{
    auto *timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        seen.title = box->windowTitle();
        for (QAbstractButton *b : box->buttons())
            seen.captions << b->text();
        seen.captions.sort();
        if (QWidget *f = box->focusWidget())
            seen.focused = qobject_cast<QAbstractButton *>(f) ? static_cast<QAbstractButton *>(f)->text() : QString();
        if (QPushButton *d = box->defaultButton())
            seen.defaultCaption = d->text();
        seen.onUiThread = box->thread() == qApp->thread();
        QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key_Return);
    });
    timer->start();
}

wire::Table tableOf(std::initializer_list<std::pair<const char *, wire::ColumnType>> columns)
{
    wire::Table t;
    for (const auto &[name, type] : columns)
        t.addColumn(wire::ColumnInfo{QString::fromLatin1(name), type, 0, true});
    return t;
}

} // namespace

class TestUtils : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        platform::SetApplicationTitle(QStringLiteral("Korvel Oto Yedek Parça B2B"));
        platform::SetBeepHook([this](unsigned type) { m_beeps << type; });
    }
    void init() { m_beeps.clear(); }

    void mesajGoster_data();
    void mesajGoster();
    void mesajGosterFromBackgroundThread();

    void ikiHaneYuvarla_data();
    void ikiHaneYuvarla();
    void ikiHaneYuvarlaRejectsNonNumbers();

    void urlKodla_data();
    void urlKodla();

    void ondalikBicimleFormatsOnlyFloatFields();
    void kayitVeSeciliVarmi_data();
    void kayitVeSeciliVarmi();

    void chromeYoluBul_data();
    void chromeYoluBul();
    void belgelerKlasoruHasNoTrailingSeparator();

private:
    QList<unsigned> m_beeps;
};

void TestUtils::mesajGoster_data()
{
    QTest::addColumn<MessageKind>("kind");
    QTest::addColumn<MessageButtons>("buttons");
    QTest::addColumn<MessageButton>("defaultButton");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QString>("focused");
    QTest::addColumn<int>("result");
    QTest::addColumn<QList<unsigned>>("beeps");

    const QStringList ok{QStringLiteral("Tamam")};
    const QStringList yesNo{QStringLiteral("Evet"), QStringLiteral("Hayır")};
    QTest::newRow("error OK") << MessageKind::Error << MessageButtons(MessageButton::Ok) << MessageButton::Ok
                              << "Hata" << ok << "Tamam" << 1 << QList<unsigned>{0x10};
    QTest::newRow("information OK") << MessageKind::Information << MessageButtons(MessageButton::Ok)
                                    << MessageButton::Ok << "Bilgi" << ok << "Tamam" << 1 << QList<unsigned>{0x40};
    QTest::newRow("warning OK") << MessageKind::Warning << MessageButtons(MessageButton::Ok) << MessageButton::Ok
                                << "Uyarı" << ok << "Tamam" << 1 << QList<unsigned>{0x30};
    QTest::newRow("question, default Yes") << MessageKind::Question << (MessageButton::Yes | MessageButton::No)
                                           << MessageButton::Yes << "Soru" << yesNo << "Evet" << 6
                                           << QList<unsigned>{0x20};
    QTest::newRow("question, default No") << MessageKind::Question << (MessageButton::Yes | MessageButton::No)
                                          << MessageButton::No << "Soru" << yesNo << "Hayır" << 7
                                          << QList<unsigned>{0x20};
    // No kind: the application title and no sound.
    QTest::newRow("custom") << MessageKind::Custom << MessageButtons(MessageButton::Ok) << MessageButton::Ok
                            << "Korvel Oto Yedek Parça B2B" << ok << "Tamam" << 1 << QList<unsigned>{};
    QTest::newRow("every caption, default Retry")
        << MessageKind::Warning
        << (MessageButton::Yes | MessageButton::No | MessageButton::Ok | MessageButton::Cancel | MessageButton::Abort
            | MessageButton::Retry | MessageButton::Ignore | MessageButton::YesToAll | MessageButton::NoToAll
            | MessageButton::Help)
        << MessageButton::Retry << "Uyarı"
        << QStringList{"Evet", "Hayır", "Tamam", "Vazgeç", "İptal", "Tekrar", "Atla", "Tümüne Evet", "Tümüne Hayır",
                       "Yardım"}
        << "Tekrar" << 4 << QList<unsigned>{0x30};
    QTest::newRow("default Yes to all") << MessageKind::Question
                                        << (MessageButton::Yes | MessageButton::YesToAll | MessageButton::NoToAll)
                                        << MessageButton::NoToAll << "Soru"
                                        << QStringList{"Evet", "Tümüne Evet", "Tümüne Hayır"} << "Tümüne Hayır" << 9
                                        << QList<unsigned>{0x20};
}

void TestUtils::mesajGoster()
{
    QFETCH(MessageKind, kind);
    QFETCH(MessageButtons, buttons);
    QFETCH(MessageButton, defaultButton);
    QFETCH(QString, title);
    QFETCH(QStringList, captions);
    QFETCH(QString, focused);
    QFETCH(int, result);
    QFETCH(QList<unsigned>, beeps);

    Seen seen;
    pressEnterInNextBox(seen);
    const int answer = MesajGoster(QStringLiteral("Devam edilsin mi?"), kind, buttons, defaultButton);

    QCOMPARE(seen.title, title);
    captions.sort();
    QCOMPARE(seen.captions, captions);
    QCOMPARE(seen.focused, focused);
    QCOMPARE(seen.defaultCaption, focused);
    QCOMPARE(answer, result);
    QCOMPARE(m_beeps, beeps);
}

void TestUtils::mesajGosterFromBackgroundThread()
{
    Seen seen;
    pressEnterInNextBox(seen);
    QFuture<int> answer = QtConcurrent::run([] {
        return MesajGoster(QStringLiteral("Silinsin mi?"), MessageKind::Question, MessageButton::Yes | MessageButton::No,
                           MessageButton::No);
    });
    QTRY_VERIFY_WITH_TIMEOUT(answer.isFinished(), 5000);
    QVERIFY(seen.onUiThread);
    QCOMPARE(seen.focused, QStringLiteral("Hayır"));
    QCOMPARE(answer.result(), 7);
}

void TestUtils::ikiHaneYuvarla_data()
{
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("half up") << 0.125 << 0.13;
    QTest::newRow("negative half away from zero") << -0.125 << -0.13;
    QTest::newRow("smallest half") << 0.005 << 0.01;
    QTest::newRow("below the smallest half") << 0.00499 << 0.0;
    QTest::newRow("one decimal") << -2.5 << -2.5;
    QTest::newRow("thousands") << 1234567.891 << 1234567.89;
    // Binary doubles just below the half: the decimal form decides.
    QTest::newRow("1.005") << 1.005 << 1.01;
    QTest::newRow("2.675") << 2.675 << 2.68;
    QTest::newRow("carry through nines") << 9.995 << 10.0;
    QTest::newRow("zero") << 0.0 << 0.0;
    QTest::newRow("large") << 123456789012.345 << 123456789012.35;
}

void TestUtils::ikiHaneYuvarla()
{
    QFETCH(double, x);
    QFETCH(double, expected);
    QCOMPARE(IkiHaneYuvarla(x), expected);
}

void TestUtils::ikiHaneYuvarlaRejectsNonNumbers()
{
    QVERIFY_THROWS_EXCEPTION(platform::ConvertError, IkiHaneYuvarla(std::nan("")));
    QVERIFY_THROWS_EXCEPTION(platform::ConvertError, IkiHaneYuvarla(HUGE_VAL));
}

void TestUtils::urlKodla_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "http://127.0.0.1:8080/zandrokart.html?carino=12&sube=1"
                           << "http://127.0.0.1:8080/zandrokart.html?carino=12&sube=1";
    QTest::newRow("blanks and Turkish letters in the query")
        << "http://b2b.example:8080/zandrokart.html?carino=12&firmasi=ÇAĞ OTO ŞİŞLİ&bakiye=1.250,50"
        << "http://b2b.example:8080/zandrokart.html?carino=12&firmasi=%C3%87A%C4%9E%20OTO%20%C5%9E%C4%B0%C5%9EL%C4%B0"
           "&bakiye=1.250,50";
    QTest::newRow("blank in the path") << "http://host/yeni klasör/form.aspx?a=b c"
                                       << "http://host/yeni%20klas%C3%B6r/form.aspx?a=b%20c";
    QTest::newRow("host only") << "http://host:8080" << "http://host:8080";
    QTest::newRow("blank after equals kept as a parameter")
        << "http://h/formmailgonder.aspx?carino=0&kullanici= &id=AB12"
        << "http://h/formmailgonder.aspx?carino=0&kullanici=%20&id=AB12";
}

void TestUtils::urlKodla()
{
    QFETCH(QString, address);
    QFETCH(QString, expected);
    QCOMPARE(UrlKodla(address), expected);
}

void TestUtils::ondalikBicimleFormatsOnlyFloatFields()
{
    wire::Table t = tableOf({{"ADET", wire::ColumnType::Int32},
                             {"FIYAT", wire::ColumnType::Double},
                             {"TUTAR", wire::ColumnType::Currency},
                             {"ADI", wire::ColumnType::String}});
    const int r = t.appendRow();
    t.setInt(r, 0, 1234);
    t.setReal(r, 1, 1234.5);
    t.setReal(r, 2, 99.5);
    t.setText(r, 3, QStringLiteral("FİLTRE"));
    TClientDataSet d;
    d.LoadFromTable(std::move(t));

    OndalikBicimle(d);

    QCOMPARE(d.FieldByName(QStringLiteral("FIYAT"))->DisplayFormat(), QStringLiteral("#,###,##0.00"));
    QCOMPARE(d.FieldByName(QStringLiteral("FIYAT"))->DisplayText(), QStringLiteral("1.234,50"));
    QVERIFY(d.FieldByName(QStringLiteral("ADET"))->DisplayFormat().isEmpty());
    QVERIFY(d.FieldByName(QStringLiteral("TUTAR"))->DisplayFormat().isEmpty());
    QVERIFY(d.FieldByName(QStringLiteral("ADI"))->DisplayFormat().isEmpty());
}

void TestUtils::kayitVeSeciliVarmi_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<QList<int>>("sec");
    QTest::addColumn<bool>("kayitVar");
    QTest::addColumn<bool>("seciliVar");
    QTest::addColumn<int>("recNo"); // cursor afterwards when a selected row was found
    QTest::newRow("closed") << false << QList<int>{} << false << false << 0;
    QTest::newRow("empty") << true << QList<int>{} << false << false << 0;
    QTest::newRow("none selected") << true << QList<int>{0, 0, 0} << true << false << 0;
    QTest::newRow("one selected") << true << QList<int>{0, 0, 1, 0} << true << true << 3;
    QTest::newRow("first of two selected") << true << QList<int>{0, 1, 1} << true << true << 2;
    QTest::newRow("other values are not a selection") << true << QList<int>{2, -1} << true << false << 0;
}

void TestUtils::kayitVeSeciliVarmi()
{
    QFETCH(bool, open);
    QFETCH(QList<int>, sec);
    QFETCH(bool, kayitVar);
    QFETCH(bool, seciliVar);
    QFETCH(int, recNo);

    TClientDataSet d;
    if (open) {
        wire::Table t = tableOf({{"SIRANO", wire::ColumnType::Int32}, {"SEC", wire::ColumnType::Int32}});
        for (int i = 0; i < sec.size(); ++i) {
            const int r = t.appendRow();
            t.setInt(r, 0, 100 + i);
            t.setInt(r, 1, sec[i]);
        }
        d.LoadFromTable(std::move(t));
        d.Last();
    }
    QCOMPARE(KayitVarmi(d), kayitVar);
    QCOMPARE(SeciliVarmi(d), seciliVar);
    if (seciliVar)
        QCOMPARE(d.RecNo(), recNo);
}

void TestUtils::chromeYoluBul_data()
{
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none") << QStringList{} << QString();
    QTest::newRow("only the user's own copy") << QStringList{"/home/ayse/.local/opt/google/chrome/chrome"}
                                              << "/home/ayse/.local/opt/google/chrome/chrome";
    QTest::newRow("system copy first") << QStringList{"/home/ayse/.local/opt/google/chrome/chrome",
                                                      "/usr/bin/chromium", "/opt/google/chrome/chrome"}
                                       << "/opt/google/chrome/chrome";
    QTest::newRow("another user's copy does not count") << QStringList{"/home/mehmet/.local/opt/google/chrome/chrome"}
                                                        << QString();
}

void TestUtils::chromeYoluBul()
{
    QFETCH(QStringList, present);
    QFETCH(QString, expected);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    for (const QString &path : present) {
        QVERIFY(QDir().mkpath(root.path() + QFileInfo(path).path()));
        QFile f(root.path() + path);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    const QString found = ChromeYoluBul(root.path(), QStringLiteral("ayse"));
    QCOMPARE(found, expected.isEmpty() ? QString() : root.path() + expected);
    QCOMPARE(IEVersiyonuAl(), 0);
}

void TestUtils::belgelerKlasoruHasNoTrailingSeparator()
{
    const QString folder = BelgelerKlasoruAl();
    QVERIFY(!folder.isEmpty());
    QVERIFY(!folder.endsWith(u'/'));
}

KORVEL_TEST_MAIN(TestUtils)
#include "tst_utils.moc"
