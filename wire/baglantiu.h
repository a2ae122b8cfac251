#pragma once
// Records of unit baglantiu: the session record, an order footer, order-state counts.
#include "record.h"

class TSonucBilgisi : public wire::Record {
public:
    TSonucBilgisi();
    void Kopyala(const TSonucBilgisi &source);
    QString typeName() const override { return QStringLiteral("baglantiu.TSonucBilgisi"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    WIRE_FIELD(QString, BILGISAYARID)
    WIRE_FIELD(QString, SaticiMail)
    WIRE_FIELD(qint32, Sirano)
    WIRE_FIELD(QString, CariAdi)
    WIRE_FIELD(QString, SIFRE)
    WIRE_FIELD(qint32, SaticiNo)
    WIRE_FIELD(qint32, CARINO)
    WIRE_FIELD(qint32, AKTIF)
    WIRE_FIELD(QString, Kullanicimail)
    WIRE_FIELD(QString, ADI)
    WIRE_FIELD(QString, SaticiTelefon)
    WIRE_FIELD(QString, carikod)
    WIRE_FIELD(bool, Varmi)
    WIRE_FIELD(QString, SaticiAdi)
    WIRE_FIELD(QString, BilgiSayarAdi)
    WIRE_FIELD(QString, Disip)
    WIRE_FIELD(QString, Icip)
    WIRE_FIELD(QString, BilgisayarKullanici)
    WIRE_FIELD(qint32, MusteriTipi)
    WIRE_FIELD(qint32, Version)
};

class TSiparisDipAyrinti : public wire::Record {
public:
    TSiparisDipAyrinti() = default;
    void Kopyala(const TSiparisDipAyrinti &source);
    QString typeName() const override { return QStringLiteral("baglantiu.TSiparisDipAyrinti"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    WIRE_FIELD(QString, SizinMesaj)
    WIRE_FIELD(QString, Durumu)
    WIRE_FIELD(QString, Veren)
    WIRE_FIELD(QString, Kargo)
    WIRE_FIELD(QString, BizimMesaj)
    WIRE_FIELD(QString, TeslimCinsi)
    WIRE_FIELD(QString, KargoCinsi)
    WIRE_FIELD(QString, SaticiNotu)
};

class TTusSonuclari : public wire::Record {
public:
    TTusSonuclari() = default;
    void Kopyala(const TTusSonuclari &source);
    QString typeName() const override { return QStringLiteral("baglantiu.TTusSonuclari"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    WIRE_FIELD(qint32, Alindi)
    WIRE_FIELD(qint32, Onaylandi)
    WIRE_FIELD(qint32, ParcaliHazirlandi)
    WIRE_FIELD(qint32, SevkEdildi)
    WIRE_FIELD(qint32, Hazirlandi)
    WIRE_FIELD(qint32, Goruldu)
};
