#include "datasource.h"

#include "clientdataset.h"

TDataSource::TDataSource(QObject *parent) : QObject(parent) {}

TDataSource::TDataSource(TClientDataSet *dataSet, QObject *parent) : QObject(parent)
{
    SetDataSet(dataSet);
}

void TDataSource::SetDataSet(TClientDataSet *dataSet)
{
    if (FDataSet == dataSet)
        return;
    if (FDataSet)
        disconnect(FDataSet, nullptr, this, nullptr);
    FDataSet = dataSet;
    if (FDataSet) {
        // Queued when the dataset is enabled on a worker thread: views live on the UI thread.
        connect(FDataSet, &TClientDataSet::DataSetChanged, this, [this] {
            if (FEnabled)
                Q_EMIT DataSetChanged();
        });
        connect(FDataSet, &TClientDataSet::RecordChanged, this, [this](int record) {
            if (FEnabled)
                Q_EMIT RecordChanged(record);
        });
        connect(FDataSet, &QObject::destroyed, this, [this] {
            FDataSet = nullptr;
            Q_EMIT DataSetChanged();
        });
    }
    Q_EMIT DataSetChanged();
}

void TDataSource::SetEnabled(bool enabled)
{
    if (FEnabled == enabled)
        return;
    FEnabled = enabled;
    Q_EMIT DataSetChanged();
}
