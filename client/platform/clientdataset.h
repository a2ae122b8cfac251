#pragma once
// In-memory client dataset: typed fields over column storage, a record cursor, local
// edit/post, and change notifications for the views attached through a TDataSource.
//
//   TClientDataSet stok;
//   stok.DisableControls();
//   stok.LoadFromTable(std::move(packet));      // fields and rows replaced
//   stok.EnableControls();                      // attached views refresh once
//   if (stok.Locate("STOK_STOKNO", 42))
//       double price = stok.FieldByName("FIYAT")->AsFloat();
//
// Threads: a dataset may be filled on a worker thread while no view shows it (its view
// detached from the data source) and its controls are disabled; otherwise it belongs to
// the UI thread. Field pointers stay valid until the next load, Close or field change.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

namespace wire {
class Table;
struct ColumnData;
}

class TClientDataSet;

enum class TFieldType { String, Integer, LargeInt, Boolean, Float, Currency, BCD, Date, DateTime, Blob };

enum class TDataSetState { Inactive, Browse, Edit, Insert };

// One column of the dataset. Value getters read the current record (or the edit buffer
// while the dataset is in Edit/Insert state); the ...At(record) forms read any record by
// its 0-based index without moving the cursor, which is what views use.
class TField {
public:
    virtual ~TField();
    TField(const TField &) = delete;
    TField &operator=(const TField &) = delete;

    const QString &FieldName() const { return FFieldName; }
    TFieldType DataType() const { return FDataType; }
    int Size() const { return FSize; }
    int Index() const { return FIndex; }   // position in the dataset's field list
    TClientDataSet *DataSet() const { return FDataSet; }
    bool IsNumeric() const;

    // Current record. Null reads give 0, "", false or an invalid date. Text that does not
    // convert to the asked type raises platform::ConvertError naming the field.
    bool IsNull() const;
    int AsInteger() const;
    qint64 AsLargeInt() const;
    double AsFloat() const;
    QString AsString() const;
    QDateTime AsDateTime() const;
    bool AsBoolean() const;
    QByteArray AsBytes() const;
    QVariant Value() const;          // invalid QVariant when null
    QString DisplayText() const;     // as a view shows it, with the display format

    // Any record, by index.
    bool IsNullAt(int record) const;
    qint64 AsLargeIntAt(int record) const;
    double AsFloatAt(int record) const;
    QString AsStringAt(int record) const;
    QVariant ValueAt(int record) const;
    QString DisplayTextAt(int record) const;
    QByteArray AsBytesAt(int record) const;

    // Writes go to the edit buffer: call Edit() (or Append()) on the dataset first.
    void SetAsInteger(int v) { SetValue(QVariant(v)); }
    void SetAsLargeInt(qint64 v) { SetValue(QVariant(v)); }
    void SetAsFloat(double v) { SetValue(QVariant(v)); }
    void SetAsString(const QString &v) { SetValue(QVariant(v)); }
    void SetAsDateTime(const QDateTime &v) { SetValue(QVariant(v)); }
    void SetAsBoolean(bool v) { SetValue(QVariant(v)); }
    void SetValue(const QVariant &v);  // converted to the field's type; ConvertError if it cannot be
    void Clear() { SetValue(QVariant()); }

    // Number and date fields honour a display format (see displayformat.h for numbers; a
    // Qt date-time pattern for dates). Other fields ignore it.
    const QString &DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString &format) { FDisplayFormat = format; }

    // Value converted to the field's storage form; ConvertError when impossible.
    QVariant Converted(const QVariant &v) const;
    // A value of this field's type as DisplayText would show it (footer sums, exports).
    QString Format(const QVariant &value) const { return value.isValid() ? FormatValue(value) : QString(); }

protected:
    TField(TClientDataSet *dataSet, const QString &name, TFieldType type, int size, int index);
    virtual QString FormatValue(const QVariant &value) const;

private:
    friend class TClientDataSet;
    const wire::ColumnData &checkedColumn(int record) const;
    TClientDataSet *FDataSet;
    QString FFieldName;
    TFieldType FDataType;
    int FSize;
    int FIndex;
    QString FDisplayFormat;
};

class TStringField : public TField {
public:
    using TField::TField;
};
class TNumericField : public TField {
public:
    using TField::TField;
protected:
    QString FormatValue(const QVariant &value) const override;
};
class TIntegerField : public TNumericField {
public:
    using TNumericField::TNumericField;
};
class TLargeintField : public TNumericField {
public:
    using TNumericField::TNumericField;
};
class TFloatField : public TNumericField {
public:
    using TNumericField::TNumericField;
};
// Money. Shown with two decimals and thousands separators unless given a display format.
class TCurrencyField : public TFloatField {
public:
    using TFloatField::TFloatField;
protected:
    QString FormatValue(const QVariant &value) const override;
};
// Fixed-point decimal; held as a double here.
class TBCDField : public TNumericField {
public:
    using TNumericField::TNumericField;
};
class TBooleanField : public TField {
public:
    using TField::TField;
};
class TDateTimeField : public TField {
public:
    using TField::TField;
protected:
    QString FormatValue(const QVariant &value) const override;
};
class TDateField : public TDateTimeField {
public:
    using TDateTimeField::TDateTimeField;
};
class TBlobField : public TField {
public:
    using TField::TField;
};

enum class TLocateOption { CaseInsensitive = 1, PartialKey = 2 };
Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TLocateOptions)

class TClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit TClientDataSet(QObject *parent = nullptr);
    ~TClientDataSet() override;

    // Fields defined by code (unbound grids, reports): add them while the dataset is
    // closed, then CreateDataSet() opens it empty.
    TField *AddField(const QString &name, TFieldType type, int size = 0);
    void CreateDataSet();

    // A data packet becomes the whole content: fields and rows replaced, cursor on the first
    // record. A table this dataset cannot hold raises platform::Exception and leaves the
    // previous content untouched. The rvalue form takes the table's storage without copying.
    void LoadFromTable(wire::Table &&table);
    void LoadFromTable(const wire::Table &table);
    // The reader's columns become the fields and its rows are copied.
    void CopyFromReader(const wire::Table &reader);
    // The content as a table (fields and rows); used by tests and exports.
    wire::Table ToTable() const;

    bool Active() const { return FState != TDataSetState::Inactive; }
    void SetActive(bool active);
    void Open() { SetActive(true); }
    void Close();                   // drops the rows; fields stay
    void EmptyDataSet();            // drops the rows; stays open
    TDataSetState State() const { return FState; }

    int RecordCount() const;        // 0 when closed
    bool IsEmpty() const { return RecordCount() == 0; }

    int FieldCount() const { return int(FFields.size()); }
    TField *Fields(int index) const;
    TField *FindField(const QString &name) const;          // nullptr when absent
    TField *FieldByName(const QString &name) const;        // platform::Exception when absent
    QStringList FieldNames() const;

    // Cursor. RecNo counts from 1; 0 when there is no record.
    void First();
    void Last();
    void Next();
    void Prior();
    bool Eof() const { return FEof; }
    bool Bof() const { return FBof; }
    int RecNo() const { return FRecord + 1; }
    void SetRecNo(int recNo);
    int CurrentRecord() const { return FRecord; } // 0-based, -1 when none

    // Moves to the first record whose field matches; returns whether one was found
    // (the cursor stays where it was otherwise).
    bool Locate(const QString &fieldName, const QVariant &value, TLocateOptions options = {});

    // Local change of the current record (or a new one with Append).
    void Edit();
    void Append();
    void Post();
    void Cancel();
    void Delete();                  // removes the current record

    // Nesting. While disabled, attached views get no notification; the outermost
    // EnableControls sends one DataSetChanged.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return FDisableCount > 0; }

Q_SIGNALS:
    // Fields or rows changed as a whole: views rebuild.
    void DataSetChanged();
    // One record's values changed (Post). Record index is 0-based.
    void RecordChanged(int record);

private:
    friend class TField;
    struct Store;
    void requireActive() const;
    void replaceContent(std::unique_ptr<Store> store);
    void notifyDataSet();
    void notifyRecord(int record);
    void rebuildFields();
    void resetCursor();
    QVariant storedValue(int field, int record) const;
    const QVariant *bufferedValue(int field) const;
    void writeBuffer(int field, const QVariant &value);

    std::unique_ptr<Store> FStore;
    std::vector<std::unique_ptr<TField>> FFields;
    TDataSetState FState = TDataSetState::Inactive;
    int FRecord = -1;
    bool FEof = true;
    bool FBof = true;
    int FDisableCount = 0;
    std::vector<QVariant> FBuffer;
};
