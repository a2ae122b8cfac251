#include "baglantiu.h"

using wire::FieldKind;
using wire::FieldRef;

TSonucBilgisi::TSonucBilgisi()
{
    // Not 0: code that runs before the login reads these as a valid user kind and version.
    FMusteriTipi = 1;
    FVersion = 1;
}

void TSonucBilgisi::Kopyala(const TSonucBilgisi &source)
{
    *this = source;
}

QList<FieldRef> TSonucBilgisi::fields()
{
    return {
        {"FBILGISAYARID", FieldKind::String, &FBILGISAYARID},
        {"FSaticiMail", FieldKind::String, &FSaticiMail},
        {"FSirano", FieldKind::Integer, &FSirano},
        {"FCariAdi", FieldKind::String, &FCariAdi},
        {"FSIFRE", FieldKind::String, &FSIFRE},
        {"FSaticiNo", FieldKind::Integer, &FSaticiNo},
        {"FCARINO", FieldKind::Integer, &FCARINO},
        {"FAKTIF", FieldKind::Integer, &FAKTIF},
        {"FKullanicimail", FieldKind::String, &FKullanicimail},
        {"FADI", FieldKind::String, &FADI},
        {"FSaticiTelefon", FieldKind::String, &FSaticiTelefon},
        {"Fcarikod", FieldKind::String, &Fcarikod},
        {"FVarmi", FieldKind::Boolean, &FVarmi},
        {"FSaticiAdi", FieldKind::String, &FSaticiAdi},
        {"FBilgiSayarAdi", FieldKind::String, &FBilgiSayarAdi},
        {"FDisip", FieldKind::String, &FDisip},
        {"FIcip", FieldKind::String, &FIcip},
        {"FBilgisayarKullanici", FieldKind::String, &FBilgisayarKullanici},
        {"FMusteriTipi", FieldKind::Integer, &FMusteriTipi},
        {"FVersion", FieldKind::Integer, &FVersion},
    };
}

void TSiparisDipAyrinti::Kopyala(const TSiparisDipAyrinti &source)
{
    *this = source;
}

QList<FieldRef> TSiparisDipAyrinti::fields()
{
    return {
        {"FSizinMesaj", FieldKind::String, &FSizinMesaj},
        {"FDurumu", FieldKind::String, &FDurumu},
        {"FVeren", FieldKind::String, &FVeren},
        {"FKargo", FieldKind::String, &FKargo},
        {"FBizimMesaj", FieldKind::String, &FBizimMesaj},
        {"FTeslimCinsi", FieldKind::String, &FTeslimCinsi},
        {"FKargoCinsi", FieldKind::String, &FKargoCinsi},
        {"FSaticiNotu", FieldKind::String, &FSaticiNotu},
    };
}

void TTusSonuclari::Kopyala(const TTusSonuclari &source)
{
    *this = source;
}

QList<FieldRef> TTusSonuclari::fields()
{
    return {
        {"FAlindi", FieldKind::Integer, &FAlindi},
        {"FOnaylandi", FieldKind::Integer, &FOnaylandi},
        {"FParcaliHazirlandi", FieldKind::Integer, &FParcaliHazirlandi},
        {"FSevkEdildi", FieldKind::Integer, &FSevkEdildi},
        {"FHazirlandi", FieldKind::Integer, &FHazirlandi},
        {"FGoruldu", FieldKind::Integer, &FGoruldu},
    };
}
