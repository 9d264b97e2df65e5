#pragma once
// The brightness table editor: the sixteen levels as a dot graph, the presets Low, Default
// and Full, and Ok. Created per use with its TBrightData; on Ok the record's Data holds the
// new table in the record's form.

#include "brightness_rules.h"

#include <QDialog>

class QPushButton;
class TDragGraph;

class TBrightNessFrm : public QDialog {
    Q_OBJECT
public:
    explicit TBrightNessFrm(TBrightData& data, QWidget* parent = nullptr);

    TDragGraph* graph() const { return m_graph; }
    QPushButton* lowButton() const { return m_low; }
    QPushButton* defaultButton() const { return m_default; }
    QPushButton* fullButton() const { return m_full; }
    QPushButton* okButton() const { return m_ok; }

    // The presets (DoLow, DoDefault, DoFull) and Ok.
    void DoLow();
    void DoDefault();
    void DoFull();
    void DoOk();

private:
    void showLevels(const BrightnessTable::Levels& levels);

    TBrightData& m_data;
    BrightnessTable m_table;
    TDragGraph* m_graph;
    QPushButton* m_low;
    QPushButton* m_default;
    QPushButton* m_full;
    QPushButton* m_ok;
};
