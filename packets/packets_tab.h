#pragma once
// The "Packets" tab: a row for every exchange of the transmission as it happens, a switch that
// leaves only the failed ones, the selected exchange's packet and answer field by field below
// the table, and at the bottom one row per display once the transmission has ended. Selecting
// a row asks for the command lines its packet carried to be selected (linesSelected).

#include "packet_models.h"

#include <QWidget>

#include <vector>

class QCheckBox;
class QLabel;
class QSplitter;
class QTableView;
class QTextBrowser;

class PacketsTab : public QWidget {
    Q_OBJECT
public:
    explicit PacketsTab(const lmx::ExchangeRecorder& recorder, QWidget* parent = nullptr);

    QTableView* packetTable() const { return m_table; }
    QTableView* summaryTable() const { return m_summaryTable; }
    QTextBrowser* detailView() const { return m_detail; }
    QCheckBox* failuresOnlyBox() const { return m_failuresOnly; }
    PacketTableModel& model() { return *m_model; }
    FailedPacketsFilter& filter() { return *m_filter; }

    // Selects the exchange with this index (a row of the unfiltered table), as a click does.
    void selectRecord(int index);
    // The exchange the pane below shows; nullptr when none is selected.
    const lmx::ExchangeRecord* selectedRecord() const;

signals:
    void linesSelected(const std::vector<int>& lines);

private:
    void setUpTable(QTableView* table);
    void currentChanged();
    void showDetail();
    void updateCounts();
    void updateSummary();

    const lmx::ExchangeRecorder& m_recorder;
    PacketTableModel* m_model;
    FailedPacketsFilter* m_filter;
    PacketSummaryModel* m_summary;
    QCheckBox* m_failuresOnly;
    QLabel* m_counts;
    QSplitter* m_splitter;
    QTableView* m_table;
    QTableView* m_summaryTable;
    QTextBrowser* m_detail;
    int m_shown = -1;     // the exchange in the pane below
    bool m_follow = true; // the table shows its end and keeps doing so
};
