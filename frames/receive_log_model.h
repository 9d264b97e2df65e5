#pragma once
// The receive box's lines: one text line per event of a transmission, each added at the end
// in constant time. The box keeps at most kMaxLines: beyond them the oldest tenth is dropped
// at once, and the first line says how many are gone (the Packets tab and the debug log keep
// every exchange). A million lines are a night's run at the line's pace and about 100 MB.

#include "styled_lines_model.h"
#include "transmission/transmission_reports.h"

#include <algorithm>
#include <string>
#include <vector>

class ReceiveLogModel : public StyledLinesModel, public lmx::ReceiveLog {
    Q_OBJECT
public:
    // The receive box's colour.
    static constexpr QRgb kColour = 0xF31D53;

    static constexpr size_t kMaxLines = 1000000;

    explicit ReceiveLogModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    // The engine's clear at the start of a transmission; nothing while the lines are kept.
    void clear() override;
    void addLine(const std::string& line) override;
    // A run of several transmissions (one list to many displays) keeps the lines of all.
    void setKeepLines(bool on) { m_keep = on; }
    void clearLines();
    const std::vector<std::string>& lines() const { return m_lines; }
    // Lines dropped so far; a smaller limit than kMaxLines (at least 10), for tests.
    size_t droppedLines() const { return m_dropped; }
    void setLineLimit(size_t maxLines) { m_maxLines = std::max<size_t>(maxLines, 10); }
    std::string droppedNotice() const;

signals:
    void lineAdded(int row);

protected:
    QString lineText(int row) const override;

private:
    void dropOldest();

    std::vector<std::string> m_lines;
    bool m_keep = false;
    size_t m_maxLines = kMaxLines;
    size_t m_dropped = 0;
};
