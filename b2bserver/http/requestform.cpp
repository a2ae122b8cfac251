#include "requestform.h"

#include "sqlquery.h"
#include "store.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringList>

#include <httplib.h>

namespace http {

namespace {

const char kPath[] = "/formmailgonder.aspx";

struct Field {
    const char *name;  // form field name
    const char *label; // Turkish label
    int maxLength;
    bool required;
    bool multiLine;
};

const Field kFields[] = {
    {"firma", "Firma adı", 150, true, false},
    {"yetkili", "Yetkili kişi", 100, true, false},
    {"telefon", "Telefon", 30, true, false},
    {"eposta", "E-posta", 120, false, false},
    {"not", "Not", 2000, false, true},
};

struct Request {
    QString carino, kullanici, id;
    QString values[std::size(kFields)];
};

QString escapeHtml(const QString &text)
{
    return text.toHtmlEscaped();
}

// A parameter as text; false when it is not valid UTF-8.
bool param(const httplib::Request &req, const char *name, QString *out)
{
    const std::string raw = req.get_param_value(name);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    *out = utf8.decode(QByteArray::fromStdString(raw));
    return !utf8.hasError();
}

bool hasControl(const QString &text, bool multiLine)
{
    for (QChar c : text) {
        if (multiLine && (c == u'\n' || c == u'\r' || c == u'\t'))
            continue;
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return true;
    }
    return false;
}

QString page(const QString &title, const QString &body)
{
    return QStringLiteral("<!DOCTYPE html>\n<html lang=\"tr\"><head><meta charset=\"utf-8\">"
                          "<title>%1</title><style>"
                          "body{font-family:Tahoma,sans-serif;margin:24px;color:#222}"
                          "h1{color:#e20a17;font-size:20px}label{display:block;margin-top:10px;font-weight:bold}"
                          "input,textarea{width:100%;max-width:520px;padding:4px;font:inherit}"
                          "textarea{height:90px}.hata{color:#b00;font-weight:bold}.kimlik{color:#444}"
                          "button{margin-top:14px;padding:6px 18px;font-weight:bold}"
                          "</style></head><body><h1>%1</h1>%2</body></html>")
        .arg(escapeHtml(title), body);
}

QString formPage(const Request &r, const QStringList &problems)
{
    QString body;
    if (!problems.isEmpty()) {
        body += QStringLiteral("<div class=\"hata\"><p>Form gönderilemedi:</p><ul>");
        for (const QString &p : problems)
            body += QStringLiteral("<li>") + escapeHtml(p) + QStringLiteral("</li>");
        body += QStringLiteral("</ul></div>");
    }
    body += QStringLiteral("<p>Bu bilgisayar sistemimizde tanımlı değil. Bilgilerinizi bırakın, "
                           "tanımlama yapıldığında size dönüş yapalım.</p>"
                           "<p class=\"kimlik\">Bilgisayar kimliği: <b id=\"kimlik\">%1</b></p>"
                           "<form method=\"post\" action=\"formmailgonder.aspx\" accept-charset=\"utf-8\">"
                           "<input type=\"hidden\" name=\"carino\" value=\"%2\">"
                           "<input type=\"hidden\" name=\"kullanici\" value=\"%3\">"
                           "<input type=\"hidden\" name=\"id\" value=\"%1\">")
                .arg(escapeHtml(r.id), escapeHtml(r.carino), escapeHtml(r.kullanici));
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const Field &f = kFields[i];
        const QString name = QString::fromLatin1(f.name);
        body += QStringLiteral("<label for=\"%1\">%2%3</label>")
                    .arg(name, QString::fromUtf8(f.label), f.required ? QStringLiteral(" *") : QString());
        if (f.multiLine) {
            body += QStringLiteral("<textarea id=\"%1\" name=\"%1\" maxlength=\"%2\">%3</textarea>")
                        .arg(name)
                        .arg(f.maxLength)
                        .arg(escapeHtml(r.values[i]));
        } else {
            body += QStringLiteral("<input id=\"%1\" name=\"%1\" type=\"%2\" maxlength=\"%3\" value=\"%4\"%5>")
                        .arg(name, name == QLatin1String("eposta") ? QStringLiteral("email") : QStringLiteral("text"))
                        .arg(f.maxLength)
                        .arg(escapeHtml(r.values[i]), f.required ? QStringLiteral(" required") : QString());
        }
    }
    body += QStringLiteral("<button type=\"submit\">Gönder</button></form>");
    return page(QStringLiteral("Korvel Oto Yedek Parça B2B İstek Formu"), body);
}

// Reads and checks the posted form; the problems in Turkish, none when it may be stored.
QStringList readForm(const httplib::Request &req, Request *r)
{
    QStringList problems;
    bool utf8 = param(req, "carino", &r->carino) & param(req, "kullanici", &r->kullanici) & param(req, "id", &r->id);
    for (size_t i = 0; i < std::size(kFields); ++i)
        utf8 &= param(req, kFields[i].name, &r->values[i]);
    if (!utf8) {
        problems << QStringLiteral("Form geçersiz karakterler içeriyor.");
        return problems;
    }
    r->carino = r->carino.trimmed();
    r->kullanici = r->kullanici.trimmed();
    r->id = r->id.trimmed();
    if (r->id.isEmpty() || r->id.size() > 100 || hasControl(r->id, false))
        problems << QStringLiteral("Bilgisayar kimliği eksik veya geçersiz.");
    if (r->carino.size() > 20 || r->kullanici.size() > 100 || hasControl(r->carino, false)
        || hasControl(r->kullanici, false))
        problems << QStringLiteral("Cari numarası veya kullanıcı geçersiz.");
    for (size_t i = 0; i < std::size(kFields); ++i) {
        const Field &f = kFields[i];
        QString &v = r->values[i];
        v = v.trimmed();
        const QString label = QString::fromUtf8(f.label);
        if (f.required && v.isEmpty())
            problems << QStringLiteral("%1 boş bırakılamaz.").arg(label);
        else if (v.size() > f.maxLength)
            problems << QStringLiteral("%1 en fazla %2 karakter olabilir.").arg(label).arg(f.maxLength);
        else if (hasControl(v, f.multiLine))
            problems << QStringLiteral("%1 geçersiz karakterler içeriyor.").arg(label);
    }
    static const QRegularExpression phone(QStringLiteral("^[0-9 +()\\-/]{7,30}$"));
    static const QRegularExpression mail(QStringLiteral("^[^@\\s]+@[^@\\s]+\\.[^@\\s]+$"));
    if (!r->values[2].isEmpty() && r->values[2].size() <= 30 && !phone.match(r->values[2]).hasMatch())
        problems << QStringLiteral("Telefon numarası geçersiz.");
    if (!r->values[3].isEmpty() && r->values[3].size() <= 120 && !mail.match(r->values[3]).hasMatch())
        problems << QStringLiteral("E-posta adresi geçersiz.");
    return problems;
}

void sendHtml(httplib::Response &res, int status, const QString &html)
{
    res.status = status;
    res.set_content(html.toUtf8().toStdString(), "text/html; charset=utf-8");
}

} // namespace

void addRequestFormRoutes(httplib::Server &web, store::Store &store)
{
    web.Get(kPath, [](const httplib::Request &req, httplib::Response &res) {
        Request r;
        if (!param(req, "carino", &r.carino) || !param(req, "kullanici", &r.kullanici) || !param(req, "id", &r.id)) {
            sendHtml(res, 400, page(QStringLiteral("Geçersiz istek"),
                                    QStringLiteral("<p class=\"hata\">Adres geçersiz karakterler içeriyor.</p>")));
            return;
        }
        r.carino = r.carino.trimmed().left(20);
        r.kullanici = r.kullanici.trimmed().left(100);
        r.id = r.id.trimmed().left(100);
        sendHtml(res, 200, formPage(r, {}));
    });
    web.Post(kPath, [&store](const httplib::Request &req, httplib::Response &res) {
        Request r;
        const QStringList problems = readForm(req, &r);
        if (!problems.isEmpty()) {
            sendHtml(res, 400, formPage(r, problems));
            return;
        }
        int number = 0;
        try {
            store.write([&](QSqlDatabase &db) {
                store::SqlQuery q(db, QStringLiteral("INSERT INTO mail_kutusu (tarih, tur, idsi, baslik, firmaadi, "
                                                     "telefon, yetkili, kullaniciadi, mail, konu) "
                                                     "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING mailno"));
                q.bind(QDateTime::currentDateTime().toString(Qt::ISODate))
                    .bind(QStringLiteral("istekformu"))
                    .bind(r.id)
                    .bind(QStringLiteral("Bilgisayar tanımlama isteği (cari no: %1)")
                              .arg(r.carino.isEmpty() ? QStringLiteral("0") : r.carino))
                    .bind(r.values[0])
                    .bind(r.values[2])
                    .bind(r.values[1])
                    .bind(r.kullanici)
                    .bind(r.values[3])
                    .bind(r.values[4]);
                number = q.scalar().toInt();
            });
        } catch (const std::exception &) {
            sendHtml(res, 500, page(QStringLiteral("İstek kaydedilemedi"),
                                    QStringLiteral("<p class=\"hata\">İsteğiniz şu anda kaydedilemedi. "
                                                   "Lütfen daha sonra tekrar deneyiniz.</p>")));
            return;
        }
        sendHtml(res, 200,
                 page(QStringLiteral("İsteğiniz alındı"),
                      QStringLiteral("<p>Teşekkür ederiz, <b>%1</b>. İsteğiniz kaydedildi (istek no: <b id=\"istekno\">%2</b>).</p>"
                                     "<p class=\"kimlik\">Bilgisayar kimliği: <b>%3</b></p>"
                                     "<p>Bilgisayarınız tanımlandığında size dönüş yapılacaktır. "
                                     "Bu pencereyi kapatabilirsiniz.</p>")
                          .arg(escapeHtml(r.values[0]))
                          .arg(number)
                          .arg(escapeHtml(r.id))));
    });
}

} // namespace http
