#pragma once
// The receive box's lines: one text line per event of a transmission, each added at the end.

#include "styled_lines_model.h"
#include "transmission/transmission_reports.h"

#include <string>
#include <vector>

class ReceiveLogModel : public StyledLinesModel, public lmx::ReceiveLog {
    Q_OBJECT
public:
    // The receive box's colour.
    static constexpr QRgb kColour = 0xF31D53;

    explicit ReceiveLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    // The engine's clear at the start of a transmission; nothing while the lines are kept.
    void clear() override;
    void addLine(const std::string& line) override;
    // A run of several transmissions (one list to many displays) keeps the lines of all.
    void setKeepLines(bool on) { m_keep = on; }
    void clearLines();
    const std::vector<std::string>& lines() const { return m_lines; }

signals:
    void lineAdded(int row);

protected:
    QString lineText(int row) const override;

private:
    std::vector<std::string> m_lines;
    bool m_keep = false;
};
