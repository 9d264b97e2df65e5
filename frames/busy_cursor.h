#pragma once
// The busy cursor (arrow with hourglass) on the four lists while a transmission waits.
// Nested requests keep it until the outermost one ends.

#include "transmission/transmission_reports.h"

#include <QList>
#include <QPointer>
#include <QWidget>

class BusyCursor : public lmx::BusyIndicator {
public:
    void addWidget(QWidget* widget) { m_widgets.append(widget); }
    void setBusy(bool busy) override;
    bool busy() const { return m_depth > 0; }

private:
    QList<QPointer<QWidget>> m_widgets;
    int m_depth = 0;
};
