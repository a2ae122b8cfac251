#pragma once
// Records of unit mobilstokunit: the customer account card and the opening-screen items.
#include "record.h"

#include <memory>
#include <vector>

class TMobilCariBilgisi : public wire::Record {
public:
    TMobilCariBilgisi() = default;
    void Kopyala(const TMobilCariBilgisi &source);
    QString typeName() const override { return QStringLiteral("mobilstokunit.TMobilCariBilgisi"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    WIRE_FIELD(QString, BILGISAYARID)
    WIRE_FIELD(QString, SEHIR)
    WIRE_FIELD(QString, FAX1)
    WIRE_FIELD(QString, SATICIMAIL)
    WIRE_FIELD(QString, SATICIADI)
    WIRE_FIELD(QString, CARIADI)
    WIRE_FIELD(QString, EMAIL)
    WIRE_FIELD(QString, VERGIDAIRESI)
    WIRE_FIELD(QString, YETKILI)
    WIRE_FIELD(QString, AltGrup)
    WIRE_FIELD(QString, TEL2)
    WIRE_FIELD(QString, SIFRE)
    WIRE_FIELD(QString, GSM)
    WIRE_FIELD(QString, TEL1)
    WIRE_FIELD(QString, ADRES2)
    WIRE_FIELD(double, TLBORC)
    WIRE_FIELD(double, TLALACAK)
    WIRE_FIELD(QString, ADRES1)
    WIRE_FIELD(QString, ULKE)
    WIRE_FIELD(QString, AnaGrup)
    WIRE_FIELD(qint32, CARINO)
    WIRE_FIELD(double, TLBAKIYE)
    WIRE_FIELD(QString, VERGINO)
    WIRE_FIELD(QString, MAIL)
    WIRE_FIELD(QString, OzelKod)
    WIRE_FIELD(QString, KULLANICIADI)
    WIRE_FIELD(QString, SATICITELEFON)
    WIRE_FIELD(QString, CARIKOD)
    WIRE_FIELD(QString, FAX2)
    WIRE_FIELD(QString, ILCE)
};

class TAcilisEkran : public wire::Record {
public:
    TAcilisEkran() = default;
    QString typeName() const override { return QStringLiteral("mobilstokunit.TAcilisEkran"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    WIRE_FIELD(qint32, SiraNo)
    WIRE_FIELD(QString, Resim)
    WIRE_FIELD(QString, Baslik)
    WIRE_FIELD(QString, Arama)
};

// Object list of opening-screen items; result type of a method this client never calls.
using TAcilisEkranlar = std::vector<std::unique_ptr<TAcilisEkran>>;

class TAcilisEkranlariki : public wire::Record {
public:
    TAcilisEkranlariki();
    TAcilisEkranlariki(const TAcilisEkranlariki &other);
    TAcilisEkranlariki &operator=(const TAcilisEkranlariki &other);
    ~TAcilisEkranlariki() override;
    QString typeName() const override { return QStringLiteral("mobilstokunit.TAcilisEkranlariki"); }
    QList<wire::FieldRef> fields() override;
    using wire::Record::fields;

    const QList<TAcilisEkran> &Ekranlar() const { return FEkranlar; }
    void SetEkranlar(const QList<TAcilisEkran> &value) { FEkranlar = value; }

private:
    QList<TAcilisEkran> FEkranlar;
    std::unique_ptr<wire::RecordArrayAccess> FEkranlarAccess;
};
