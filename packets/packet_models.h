#pragma once
// The Packets tab's models over the exchange recorder: one row per exchange, added when its
// packet goes out and filled in when its answer has been judged; the same rows with only the
// failed ones; and one row per display once the transmission has ended.

#include "exchange_recorder.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QTimer>

// Failed rows stand out in both tables.
QColor failedBackground();
QColor failedText();

class PacketTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // True for a judged exchange that failed.
    static constexpr int FailedRole = Qt::UserRole + 1;

    explicit PacketTableModel(const lmx::ExchangeRecorder& recorder, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const lmx::ExchangeRecord* record(int row) const;
    // Shows every record there is now (the model otherwise catches up a few times a second).
    void catchUp();

private:
    void changed(int index);

    const lmx::ExchangeRecorder& m_recorder;
    int m_rows = 0;
    int m_firstChanged = -1; // rows judged since the last catch-up
    int m_lastChanged = -1;
    QTimer m_pending;
};

class FailedPacketsFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setFailuresOnly(bool on);
    bool failuresOnly() const { return m_failuresOnly; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool m_failuresOnly = false;
};

class PacketSummaryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit PacketSummaryModel(const lmx::ExchangeRecorder& recorder, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const lmx::ExchangeRecorder& m_recorder;
    lmx::ExchangeSummary m_summary;
};
