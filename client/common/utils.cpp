#include "utils.h"

#include "buildconfig.h"
#include "clientdataset.h"
#include "exception.h"
#include "shell.h"
#include "sqlconnection.h"
#include "utilsmachine.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <typeinfo>
#include <mutex>

using platform::MessageButton;
using platform::MessageKind;

namespace {

struct KindInfo {
    const char *caption;
    unsigned sound;
};

bool kindInfo(MessageKind kind, KindInfo &info)
{
    switch (kind) {
    case MessageKind::Warning: info = {"Uyarı", platform::BeepType::Exclamation}; return true;
    case MessageKind::Error: info = {"Hata", platform::BeepType::Hand}; return true;
    case MessageKind::Information: info = {"Bilgi", platform::BeepType::Asterisk}; return true;
    case MessageKind::Question: info = {"Soru", platform::BeepType::Question}; return true;
    case MessageKind::Custom: break;
    }
    return false;
}

const struct {
    MessageButton button;
    const char *caption;
} kCaptions[] = {
    {MessageButton::Yes, "Evet"},          {MessageButton::No, "Hayır"},
    {MessageButton::Ok, "Tamam"},          {MessageButton::Cancel, "Vazgeç"},
    {MessageButton::Abort, "İptal"},       {MessageButton::Retry, "Tekrar"},
    {MessageButton::Ignore, "Atla"},       {MessageButton::YesToAll, "Tümüne Evet"},
    {MessageButton::NoToAll, "Tümüne Hayır"}, {MessageButton::Help, "Yardım"},
    {MessageButton::All, "Tümü"},          {MessageButton::Close, "Kapat"},
};

int showOnUiThread(const QString &text, MessageKind kind, platform::MessageButtons buttons,
                   MessageButton defaultButton)
{
    std::unique_ptr<QMessageBox> dialog(platform::CreateMessageDialog(text, kind, buttons));
    KindInfo info;
    if (kindInfo(kind, info)) {
        dialog->setWindowTitle(QString::fromUtf8(info.caption));
        platform::MessageBeep(info.sound);
    }
    for (const auto &c : kCaptions) {
        if (QPushButton *b = platform::DialogButton(*dialog, c.button))
            b->setText(QString::fromUtf8(c.caption));
    }
    // The default takes the focus when the dialog opens, so Enter and Space press it.
    if (QPushButton *b = platform::DialogButton(*dialog, defaultButton)) {
        dialog->setDefaultButton(b);
        b->setFocus(Qt::OtherFocusReason);
    }
    return platform::ExecMessageDialog(*dialog);
}

std::mutex g_addressMutex;
QString g_serverHost = QString::fromUtf8(buildconfig::ServerHost);
QString g_serverPort = QString::fromUtf8(buildconfig::ServerPort);
QString g_webAddress = QString::fromUtf8(buildconfig::WebBaseAddress);
QString g_imageAddress = QString::fromUtf8(buildconfig::WebBaseAddress) + u"resimgoster.ashx?id=";

QString readLocked(const QString &value)
{
    std::lock_guard lock(g_addressMutex);
    return value;
}

void writeLocked(QString &target, const QString &value)
{
    std::lock_guard lock(g_addressMutex);
    target = value;
}

// Percent-encodes every byte of the UTF-8 form except ASCII printables outside `unsafe`.
QString percentEncode(const QString &part, const char *unsafe)
{
    const QByteArray utf8 = part.toUtf8();
    QString out;
    out.reserve(utf8.size());
    for (char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if (c > 32 && c < 127 && !std::strchr(unsafe, c)) {
            out += QLatin1Char(char(c));
        } else {
            out += QStringLiteral("%%1").arg(uint(c), 2, 16, QLatin1Char('0')).toUpper();
        }
    }
    return out;
}

} // namespace

int MesajGoster(const QString &text, MessageKind kind, platform::MessageButtons buttons,
                MessageButton defaultButton)
{
    int result = platform::ModalResult::None;
    platform::RunOnUiThread([&] { result = showOnUiThread(text, kind, buttons, defaultButton); });
    return result;
}

bool BaglantiAc(platform::TSQLConnection &baglanti, bool sonMesaj)
{
    constexpr int Denemeler = 11;
    baglanti.Close();
    bool sonuc = false;
    int sayac = 0;
    do {
        try {
            baglanti.Open();
            sonuc = true;
        } catch (const platform::Exception &e) {
            platform::ShowMessage(e.Message());
            baglanti.Close();
            sonuc = false;
            ++sayac;
            QThread::msleep(500);
        }
    } while (!sonuc && sayac < Denemeler);
    if (!sonuc && sonMesaj)
        MesajGoster(BaglantiHataMesaji(), MessageKind::Error, MessageButton::Ok, MessageButton::Ok);
    return sonuc;
}

void OndalikBicimle(TClientDataSet &veri)
{
    for (int i = 0; i < veri.FieldCount(); ++i) {
        TField *alan = veri.Fields(i);
        if (typeid(*alan) == typeid(TFloatField))
            alan->SetDisplayFormat(QStringLiteral("#,###,##0.00"));
    }
}

bool KayitVarmi(const TClientDataSet &veri)
{
    return veri.Active() && veri.RecordCount() != 0;
}

bool SeciliVarmi(TClientDataSet &veri)
{
    if (!KayitVarmi(veri))
        return false;
    TField *sec = veri.FieldByName(QStringLiteral("SEC"));
    veri.First();
    while (!veri.Eof()) {
        if (sec->AsInteger() == 1)
            return true;
        veri.Next();
    }
    return false;
}

QString BaglantiHataMesaji()
{
    return QStringLiteral("Bağlantı Kurulamıyor Lütfen Tekrar Deneyin ...!");
}

double IkiHaneYuvarla(double x)
{
    if (!std::isfinite(x))
        throw platform::ConvertError(QStringLiteral("'%1' geçerli bir sayı değil").arg(x));
    // 15 significant digits: d.dddddddddddddde±xx, independent of the C locale.
    char buf[40];
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
    const std::string_view text(buf, size_t(res.ptr - buf));
    const size_t e = text.find('e');
    std::string digits;
    digits += text[0];
    digits.append(text.substr(2, e - 2));
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(), exponent);

    // Value = 0.d1d2...d15 x 10^(exponent + 1); keep the digits up to the second decimal.
    const int keep = exponent + 1 + 2;
    if (keep < 0)
        return 0.0;
    if (keep < int(digits.size())) {
        const bool up = digits[size_t(keep)] >= '5';
        digits.resize(size_t(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && digits[size_t(i)] == '9')
                digits[size_t(i--)] = '0';
            if (i >= 0) {
                ++digits[size_t(i)];
            } else {
                digits.insert(digits.begin(), '1');
                ++exponent;
            }
        }
        if (digits.empty())
            return 0.0;
    }
    std::string number = (x < 0 ? "-0." : "0.") + digits + 'e' + std::to_string(exponent + 1);
    double result = 0;
    std::from_chars(number.data(), number.data() + number.size(), result);
    return result == 0.0 ? 0.0 : result;
}

QString UrlKodla(const QString &address)
{
    const qsizetype schemeEnd = address.indexOf(u"://");
    qsizetype pathStart = 0;
    if (schemeEnd >= 0) {
        pathStart = address.size();
        for (qsizetype i = schemeEnd + 3; i < address.size(); ++i) {
            if (address[i] == u'/' || address[i] == u'?') {
                pathStart = i;
                break;
            }
        }
    }
    const QString head = address.left(pathStart);
    const QString rest = address.mid(pathStart);
    const qsizetype q = rest.indexOf(u'?');
    const QString path = q < 0 ? rest : rest.left(q);
    QString out = head + percentEncode(path, "*#%<>+ []\"");
    if (q >= 0)
        out += u'?' + percentEncode(rest.mid(q + 1), "*#%<> []\"");
    return out;
}

QStringList ChromeAdaylari(const QString &userName)
{
    return {
        QStringLiteral("/usr/bin/google-chrome-stable"),
        QStringLiteral("/usr/bin/google-chrome"),
        QStringLiteral("/opt/google/chrome/chrome"),
        QStringLiteral("/usr/bin/chromium"),
        QStringLiteral("/usr/bin/chromium-browser"),
        QStringLiteral("/home/") + userName + QStringLiteral("/.local/opt/google/chrome/chrome"),
    };
}

QString ChromeYoluBul(const QString &root, const QString &userName)
{
    for (const QString &candidate : ChromeAdaylari(userName)) {
        if (QFileInfo(root + candidate).isFile())
            return root + candidate;
    }
    return {};
}

QString ChromeYoluBul()
{
    return ChromeYoluBul(QString(), KullaniciAdiAl());
}

int IEVersiyonuAl()
{
    return 0;
}

QString BelgelerKlasoruAl()
{
    return platform::DocumentsFolder();
}

QString SunucuAdresi() { return readLocked(g_serverHost); }
void SetSunucuAdresi(const QString &host) { writeLocked(g_serverHost, host); }
QString SunucuPortu() { return readLocked(g_serverPort); }
void SetSunucuPortu(const QString &port) { writeLocked(g_serverPort, port); }
QString WebAdresi() { return readLocked(g_webAddress); }
void SetWebAdresi(const QString &address) { writeLocked(g_webAddress, address); }
QString ResimAdresi() { return readLocked(g_imageAddress); }
void SetResimAdresi(const QString &address) { writeLocked(g_imageAddress, address); }
