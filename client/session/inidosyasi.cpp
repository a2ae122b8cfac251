#include "inidosyasi.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

namespace {
// The remembered login is a few lines; anything far larger is not our file.
constexpr qint64 EnBuyukBoyut = 256 * 1024;

bool ayni(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
} // namespace

bool IniDosyasi::Yukle(const QString &yol)
{
    m_bas.clear();
    m_bolumler.clear();
    QFile f(yol);
    if (!f.open(QIODevice::ReadOnly) || f.size() > EnBuyukBoyut)
        return false;
    QByteArray veri = f.readAll();
    if (veri.startsWith("\xEF\xBB\xBF"))
        veri.remove(0, 3);
    if (veri.contains('\0'))
        return false;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString metin = utf8.decode(veri);
    if (utf8.hasError())
        return false;

    QList<Satir> bas;
    QList<Bolum> bolumler;
    const QStringList satirlar = metin.split(u'\n');
    for (qsizetype i = 0; i < satirlar.size(); ++i) {
        QString satir = satirlar[i];
        if (satir.endsWith(u'\r'))
            satir.chop(1);
        const QString kirpik = satir.trimmed();
        if (kirpik.isEmpty() && i == satirlar.size() - 1)
            break; // the line break that ends the file
        if (kirpik.isEmpty() || kirpik.startsWith(u';') || kirpik.startsWith(u'#')) {
            (bolumler.isEmpty() ? bas : bolumler.last().satirlar).append({QString(), satir});
            continue;
        }
        if (kirpik.startsWith(u'[')) {
            if (!kirpik.endsWith(u']') || kirpik.size() < 3)
                return false;
            bolumler.append({kirpik.mid(1, kirpik.size() - 2).trimmed(), {}});
            continue;
        }
        const qsizetype esit = satir.indexOf(u'=');
        if (esit <= 0 || bolumler.isEmpty())
            return false;
        const QString anahtar = satir.left(esit).trimmed();
        if (anahtar.isEmpty())
            return false;
        bolumler.last().satirlar.append({anahtar, satir.mid(esit + 1).trimmed()});
    }
    m_bas = std::move(bas);
    m_bolumler = std::move(bolumler);
    return true;
}

bool IniDosyasi::Kaydet(const QString &yol) const
{
    QString metin;
    for (const Satir &s : m_bas)
        metin += s.deger + u'\n';
    for (const Bolum &b : m_bolumler) {
        metin += u'[' + b.ad + QStringLiteral("]\n");
        for (const Satir &s : b.satirlar)
            metin += (s.anahtar.isEmpty() ? s.deger : s.anahtar + u'=' + s.deger) + u'\n';
    }
    QSaveFile f(yol);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(metin.toUtf8());
    if (!f.commit())
        return false;
    // The remembered login holds a password in plain text: readable by its owner only.
    QFile::setPermissions(yol, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

const IniDosyasi::Satir *IniDosyasi::bul(const QString &bolum, const QString &anahtar) const
{
    for (const Bolum &b : m_bolumler) {
        if (!ayni(b.ad, bolum))
            continue;
        for (const Satir &s : b.satirlar) {
            if (!s.anahtar.isEmpty() && ayni(s.anahtar, anahtar))
                return &s;
        }
    }
    return nullptr;
}

bool IniDosyasi::AnahtarVar(const QString &bolum, const QString &anahtar) const
{
    return bul(bolum, anahtar) != nullptr;
}

QString IniDosyasi::OkuMetin(const QString &bolum, const QString &anahtar, const QString &varsayilan) const
{
    const Satir *s = bul(bolum, anahtar);
    return s ? s->deger : varsayilan;
}

bool IniDosyasi::OkuMantiksal(const QString &bolum, const QString &anahtar, bool varsayilan) const
{
    const Satir *s = bul(bolum, anahtar);
    if (!s)
        return varsayilan;
    bool ok = false;
    const qlonglong n = s->deger.toLongLong(&ok);
    return ok ? n != 0 : varsayilan;
}

void IniDosyasi::YazMetin(const QString &bolum, const QString &anahtar, const QString &deger)
{
    // A value spans one line; a line break typed into a box must not open a new key.
    QString tekSatir = deger;
    tekSatir.replace(u'\r', u' ').replace(u'\n', u' ');
    for (Bolum &b : m_bolumler) {
        if (!ayni(b.ad, bolum))
            continue;
        for (Satir &s : b.satirlar) {
            if (!s.anahtar.isEmpty() && ayni(s.anahtar, anahtar)) {
                s.deger = tekSatir;
                return;
            }
        }
        b.satirlar.append({anahtar, tekSatir});
        return;
    }
    m_bolumler.append({bolum, {{anahtar, tekSatir}}});
}

void IniDosyasi::YazMantiksal(const QString &bolum, const QString &anahtar, bool deger)
{
    YazMetin(bolum, anahtar, deger ? QStringLiteral("1") : QStringLiteral("0"));
}
