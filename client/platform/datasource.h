#pragma once
// Links a dataset to the views that show it. A view attaches to a data source, never to
// the dataset itself, so a load can detach the view (SetDataSource(nullptr) on the view)
// while the dataset is replaced on a worker thread, and re-attach it afterwards.
#include <QObject>
#include <QPointer>

class TClientDataSet;

class TDataSource : public QObject {
    Q_OBJECT
public:
    explicit TDataSource(QObject *parent = nullptr);
    explicit TDataSource(TClientDataSet *dataSet, QObject *parent = nullptr);

    TClientDataSet *DataSet() const { return FDataSet; }
    void SetDataSet(TClientDataSet *dataSet);

    // A disabled data source passes no notifications on (views show nothing new).
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool enabled);

Q_SIGNALS:
    // The dataset was replaced, reloaded or re-enabled: attached views rebuild.
    void DataSetChanged();
    // One record changed in place (0-based record index).
    void RecordChanged(int record);

private:
    QPointer<TClientDataSet> FDataSet;
    bool FEnabled = true;
};
