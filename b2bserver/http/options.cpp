#include "options.h"

namespace http {

namespace {

int toInt(const QString &option, const QString &value, int min, int max)
{
    bool ok = false;
    const int v = value.toInt(&ok);
    if (!ok || v < min || v > max)
        throw OptionError(QStringLiteral("%1 için geçersiz değer: %2").arg(option, value));
    return v;
}

} // namespace

ServerOptions parseOptions(const QStringList &arguments)
{
    ServerOptions o;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                throw OptionError(QStringLiteral("%1 bir değer bekler.").arg(arg));
            return arguments[++i];
        };
        if (arg == QLatin1String("--db"))
            o.database = value();
        else if (arg == QLatin1String("--host"))
            o.host = value();
        else if (arg == QLatin1String("--port"))
            o.port = toInt(arg, value(), 0, 65535);
        else if (arg == QLatin1String("--web-port"))
            o.webPort = toInt(arg, value(), 0, 65535);
        else if (arg == QLatin1String("--threads"))
            o.threads = toInt(arg, value(), 1, 1024);
        else if (arg == QLatin1String("--demo"))
            o.demo = true;
        else if (arg == QLatin1String("--demo-stock"))
            o.demoOptions.stockItems = toInt(arg, value(), 0, 5000000);
        else if (arg == QLatin1String("--demo-accounts"))
            o.demoOptions.accounts = toInt(arg, value(), 0, 1000000);
        else if (arg == QLatin1String("--seed")) {
            const QString v = value();
            bool ok = false;
            o.demoOptions.seed = v.toULongLong(&ok);
            if (!ok)
                throw OptionError(QStringLiteral("--seed için geçersiz değer: %1").arg(v));
        } else if (arg == QLatin1String("--register-computer")) {
            const QString id = value();
            if (i + 2 >= arguments.size() || arguments[i + 1] != QLatin1String("--as"))
                throw OptionError(QStringLiteral("--register-computer KİMLİK --as KULLANICI biçiminde verilmeli."));
            i += 2;
            o.registrations.append({id, arguments[i]});
        } else if (arg == QLatin1String("--client-version"))
            o.clientVersion = toInt(arg, value(), 0, 1000000);
        else if (arg == QLatin1String("--fault"))
            o.faults.append(value());
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            o.help = true;
        else
            throw OptionError(QStringLiteral("Bilinmeyen seçenek: %1").arg(arg));
    }
    return o;
}

QString usageText()
{
    return QStringLiteral(
        "Kullanım: korvel-b2b-server [seçenekler]\n"
        "  --db YOL | postgresql://kullanici@sunucu:port/ad   veritabanı (varsayılan: örnek veritabanı)\n"
        "  --host ADRES             dinlenecek adres (varsayılan 127.0.0.1)\n"
        "  --port N                 uzak çağrı portu (varsayılan 9090, 0: boş port)\n"
        "  --web-port N             web portu (varsayılan 8080, 0: boş port)\n"
        "  --threads N              aynı anda hizmet verilen bağlantı sayısı (varsayılan 64)\n"
        "  --demo                   veritabanı boşsa örnek verilerle doldur\n"
        "  --demo-stock N           örnek stok sayısı (varsayılan 20000)\n"
        "  --demo-accounts N        örnek cari sayısı (varsayılan 60)\n"
        "  --seed S                 örnek veri tohumu (varsayılan 1)\n"
        "  --register-computer KİMLİK --as KULLANICI   bilgisayar kimliğini kullanıcıya bağla\n"
        "  --client-version N       beklenen istemci sürümü (varsayılan 2)\n"
        "  --fault TANIM            test için hata: refuse=N, delay=MS, fail=Yöntem:mesaj,\n"
        "                           truncate=Yöntem[:BAYT], garble=Yöntem (tekrarlanabilir)\n");
}

} // namespace http
