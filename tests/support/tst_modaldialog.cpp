#include "modaldialog.h"
#include "testmain.h"

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

using testsupport::DialogAnswer;
using testsupport::ModalDialogHelper;

namespace {

// A question box with Turkish captions, as the client's message helper builds them.
int askQuestion(const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text);
    box.addButton(QStringLiteral("&Evet"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&Hayır"), QMessageBox::NoRole);
    box.exec();
    return box.clickedButton() == no ? 0 : 1;
}

// A dialog whose "İleri" button opens a message box from inside the dialog's own exec().
class StepDialog : public QDialog {
public:
    StepDialog()
    {
        setWindowTitle(QStringLiteral("Adımlar"));
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QStringLiteral("Birinci adım"), this));
        auto *next = new QPushButton(QStringLiteral("İle&ri"), this);
        auto *close = new QPushButton(QStringLiteral("Kapat"), this);
        layout->addWidget(next);
        layout->addWidget(close);
        connect(next, &QPushButton::clicked, this, [this] {
            QMessageBox::information(this, QStringLiteral("Bilgi"), QStringLiteral("İkinci adım"));
            nestedDone = true;
        });
        connect(close, &QPushButton::clicked, this, &QDialog::accept);
    }
    bool nestedDone = false;
};

} // namespace

class ModalDialogTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersMessageBox_data();
    void answersMessageBox();
    void answersChainOfElevenBoxes();
    void answersDialogOpenedFromNestedLoop();
    void reportsMismatch_data();
    void reportsMismatch();
};

void ModalDialogTest::answersMessageBox_data()
{
    QTest::addColumn<DialogAnswer>("answer");
    QTest::addColumn<int>("result");

    QTest::newRow("yes, mnemonic ignored") << DialogAnswer{QStringLiteral("Evet"), QStringLiteral("Soru"),
                                                           QStringLiteral("Sepet silinsin mi?"), false, {}}
                                           << 1;
    QTest::newRow("no, title only") << DialogAnswer{QStringLiteral("Hayır"), QStringLiteral("Soru"), {}, false, {}} << 0;
    QTest::newRow("part of the text") << DialogAnswer{QStringLiteral("Hayır"), {}, QStringLiteral("silinsin"), true, {}}
                                      << 0;
}

void ModalDialogTest::answersMessageBox()
{
    QFETCH(DialogAnswer, answer);
    QFETCH(int, result);

    ModalDialogHelper dialogs;
    dialogs.expect(answer);
    QCOMPARE(askQuestion(QStringLiteral("Soru"), QStringLiteral("Sepet silinsin mi?")), result);
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(dialogs.seen().size(), 1);
    QCOMPARE(dialogs.seen().first().className, QStringLiteral("QMessageBox"));
}

void ModalDialogTest::answersChainOfElevenBoxes()
{
    // As many boxes in a row as the connection opener shows on a dead server.
    ModalDialogHelper dialogs;
    for (int i = 1; i <= 11; ++i)
        dialogs.expect(QStringLiteral("OK"), QStringLiteral("Bağlantı"), QStringLiteral("Deneme %1").arg(i));
    for (int i = 1; i <= 11; ++i)
        QMessageBox::warning(nullptr, QStringLiteral("Bağlantı"), QStringLiteral("Deneme %1").arg(i));
    KORVEL_VERIFY_DIALOGS(dialogs);
    QCOMPARE(dialogs.seen().size(), 11);
    QCOMPARE(dialogs.seen().last().texts, QStringList{QStringLiteral("Deneme 11")});
}

void ModalDialogTest::answersDialogOpenedFromNestedLoop()
{
    ModalDialogHelper dialogs;
    DialogAnswer first{QStringLiteral("İleri"), QStringLiteral("Adımlar"), QStringLiteral("Birinci adım"), false, {}};
    bool inspected = false;
    first.inspect = [&](QWidget *w) { inspected = dynamic_cast<StepDialog *>(w) != nullptr; };
    dialogs.expect(first)
        .expect(QStringLiteral("OK"), QStringLiteral("Bilgi"), QStringLiteral("İkinci adım"))
        .expect(QStringLiteral("Kapat"), QStringLiteral("Adımlar"));
    StepDialog dialog;
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    KORVEL_VERIFY_DIALOGS(dialogs);
    QVERIFY(inspected);
    QVERIFY(dialog.nestedDone);
}

void ModalDialogTest::reportsMismatch_data()
{
    QTest::addColumn<bool>("openBox");
    QTest::addColumn<DialogAnswer>("answer");
    QTest::addColumn<QString>("message");

    QTest::newRow("no dialog") << false << DialogAnswer{QStringLiteral("OK"), QStringLiteral("Hata"), {}, false, {}}
                               << QStringLiteral("Beklenen modal pencere 300 ms içinde açılmadı");
    QTest::newRow("wrong title") << true << DialogAnswer{QStringLiteral("OK"), QStringLiteral("Hata"), {}, false, {}}
                                 << QStringLiteral("başlığı 'Uyarı', beklenen 'Hata'");
    QTest::newRow("wrong text") << true
                                << DialogAnswer{QStringLiteral("OK"), {}, QStringLiteral("Başka metin"), false, {}}
                                << QStringLiteral("görünen: Stok bulunamadı");
    QTest::newRow("missing button") << true << DialogAnswer{QStringLiteral("Evet"), {}, {}, false, {}}
                                    << QStringLiteral("'Evet' düğmesi yok; düğmeler: OK");
}

void ModalDialogTest::reportsMismatch()
{
    QFETCH(bool, openBox);
    QFETCH(DialogAnswer, answer);
    QFETCH(QString, message);

    ModalDialogHelper dialogs(300);
    dialogs.expect(answer).expect(QStringLiteral("OK"));
    // The mismatching box is closed by the helper, and so is the one after it.
    if (openBox) {
        QMessageBox::warning(nullptr, QStringLiteral("Uyarı"), QStringLiteral("Stok bulunamadı"));
        QMessageBox::warning(nullptr, QStringLiteral("Uyarı"), QStringLiteral("İkinci"));
    }
    QVERIFY(!dialogs.waitDone());
    QVERIFY2(dialogs.failure().contains(message), qPrintable(dialogs.failure()));
}

KORVEL_TEST_MAIN(ModalDialogTest)
#include "tst_modaldialog.moc"
