#pragma once
// The catalogue of server methods the client calls: names, parameter kinds in
// declaration order, out parameters and result kind. Both the server's dispatcher and
// the client's proxy tests are driven by it.
#include <QList>
#include <QString>

namespace wire {

enum class ValueKind {
    None,
    Integer,
    Int64,
    Double,
    String,
    Boolean,
    SonucBilgisi,       // baglantiu.TSonucBilgisi
    SiparisDipAyrinti,  // baglantiu.TSiparisDipAyrinti
    TusSonuclari,       // baglantiu.TTusSonuclari
    MobilCariBilgisi,   // mobilstokunit.TMobilCariBilgisi
    AcilisEkran,        // mobilstokunit.TAcilisEkran
    AcilisEkranlariki,  // mobilstokunit.TAcilisEkranlariki
    DataPacket,
    Reader,
    Stream,
};

struct MethodParam {
    QString name;
    ValueKind kind;
};

struct MethodInfo {
    QString name;
    QList<MethodParam> in;   // input parameters in declaration order
    QList<MethodParam> out;  // out parameters, following the inputs
    ValueKind result = ValueKind::None;
};

const QList<MethodInfo> &serverMethods();
const MethodInfo *findMethod(const QString &name);
QString valueKindName(ValueKind kind);
bool isRecordKind(ValueKind kind);

} // namespace wire
