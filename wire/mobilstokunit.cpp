#include "mobilstokunit.h"

using wire::FieldKind;
using wire::FieldRef;

void TMobilCariBilgisi::Kopyala(const TMobilCariBilgisi &source)
{
    *this = source;
}

QList<FieldRef> TMobilCariBilgisi::fields()
{
    return {
        {"FBILGISAYARID", FieldKind::String, &FBILGISAYARID},
        {"FSEHIR", FieldKind::String, &FSEHIR},
        {"FFAX1", FieldKind::String, &FFAX1},
        {"FSATICIMAIL", FieldKind::String, &FSATICIMAIL},
        {"FSATICIADI", FieldKind::String, &FSATICIADI},
        {"FCARIADI", FieldKind::String, &FCARIADI},
        {"FEMAIL", FieldKind::String, &FEMAIL},
        {"FVERGIDAIRESI", FieldKind::String, &FVERGIDAIRESI},
        {"FYETKILI", FieldKind::String, &FYETKILI},
        {"FAltGrup", FieldKind::String, &FAltGrup},
        {"FTEL2", FieldKind::String, &FTEL2},
        {"FSIFRE", FieldKind::String, &FSIFRE},
        {"FGSM", FieldKind::String, &FGSM},
        {"FTEL1", FieldKind::String, &FTEL1},
        {"FADRES2", FieldKind::String, &FADRES2},
        {"FTLBORC", FieldKind::Double, &FTLBORC},
        {"FTLALACAK", FieldKind::Double, &FTLALACAK},
        {"FADRES1", FieldKind::String, &FADRES1},
        {"FULKE", FieldKind::String, &FULKE},
        {"FAnaGrup", FieldKind::String, &FAnaGrup},
        {"FCARINO", FieldKind::Integer, &FCARINO},
        {"FTLBAKIYE", FieldKind::Double, &FTLBAKIYE},
        {"FVERGINO", FieldKind::String, &FVERGINO},
        {"FMAIL", FieldKind::String, &FMAIL},
        {"FOzelKod", FieldKind::String, &FOzelKod},
        {"FKULLANICIADI", FieldKind::String, &FKULLANICIADI},
        {"FSATICITELEFON", FieldKind::String, &FSATICITELEFON},
        {"FCARIKOD", FieldKind::String, &FCARIKOD},
        {"FFAX2", FieldKind::String, &FFAX2},
        {"FILCE", FieldKind::String, &FILCE},
    };
}

QList<FieldRef> TAcilisEkran::fields()
{
    return {
        {"FSiraNo", FieldKind::Integer, &FSiraNo},
        {"FResim", FieldKind::String, &FResim},
        {"FBaslik", FieldKind::String, &FBaslik},
        {"FArama", FieldKind::String, &FArama},
    };
}

namespace {

// Lets the marshaller walk and fill FEkranlar without knowing its element type.
class EkranlarAccess final : public wire::RecordArrayAccess {
public:
    explicit EkranlarAccess(QList<TAcilisEkran> *list) : m_list(list) {}
    int count() const override { return int(m_list->size()); }
    const wire::Record &at(int i) const override { return m_list->at(i); }
    void clear() override { m_list->clear(); }
    wire::Record &append() override { return m_list->emplaceBack(); }

private:
    QList<TAcilisEkran> *m_list;
};

} // namespace

TAcilisEkranlariki::TAcilisEkranlariki() : FEkranlarAccess(std::make_unique<EkranlarAccess>(&FEkranlar)) {}

// The access object points at this instance's own list, so copies build their own.
TAcilisEkranlariki::TAcilisEkranlariki(const TAcilisEkranlariki &other)
    : wire::Record(other), FEkranlar(other.FEkranlar), FEkranlarAccess(std::make_unique<EkranlarAccess>(&FEkranlar))
{
}

TAcilisEkranlariki &TAcilisEkranlariki::operator=(const TAcilisEkranlariki &other)
{
    FEkranlar = other.FEkranlar;
    return *this;
}

TAcilisEkranlariki::~TAcilisEkranlariki() = default;

QList<FieldRef> TAcilisEkranlariki::fields()
{
    return {{"FEkranlar", FieldKind::RecordArray, FEkranlarAccess.get()}};
}
