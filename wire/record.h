#pragma once
// Base of the transfer records: each record lists its fields in declared order so one
// marshaller writes and reads every record class the same way.
#include <QList>
#include <QString>

namespace wire {

enum class FieldKind { String, Integer, Double, Boolean, RecordArray };

class Record;

struct FieldRef {
    const char *name;  // declared name with the leading F, as on the wire
    FieldKind kind;
    void *value;       // QString*, qint32*, double*, bool*; for RecordArray see RecordArrayAccess
};

// Access to a dynamic array of records (only TAcilisEkranlariki::FEkranlar uses it).
struct RecordArrayAccess {
    virtual ~RecordArrayAccess() = default;
    virtual int count() const = 0;
    virtual const Record &at(int i) const = 0;
    virtual void clear() = 0;
    virtual Record &append() = 0;
};

class Record {
public:
    virtual ~Record() = default;
    // Unit-qualified class name, e.g. "baglantiu.TSonucBilgisi".
    virtual QString typeName() const = 0;
    virtual QList<FieldRef> fields() = 0;
    QList<FieldRef> fields() const { return const_cast<Record *>(this)->fields(); }

protected:
    Record() = default;
    Record(const Record &) = default;
    Record &operator=(const Record &) = default;
};

} // namespace wire

// Declares the private field F<Name>, the getter <Name>() and the setter Set<Name>().
#define WIRE_FIELD(Type, Name)                                  \
public:                                                         \
    Type Name() const { return F##Name; }                       \
    void Set##Name(const Type &value) { F##Name = value; }      \
                                                                \
private:                                                        \
    Type F##Name{};
