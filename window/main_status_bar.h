#pragma once
// The main window's status bar: the text panel (the client width less 65 pixels, kept so
// on every resize) with the status texts, and the LED panel.

#include <QStatusBar>

class QLabel;
class TLedPanel;

class TMainStatusBar : public QStatusBar {
    Q_OBJECT
public:
    static constexpr const char* kReady = "Ready...";
    static constexpr int kTextPanelMargin = 65;

    explicit TMainStatusBar(QWidget* parent = nullptr);

    void setStatusText(const QString& text);
    QString statusText() const;
    QLabel* textPanel() const { return m_text; }
    TLedPanel* ledPanel() const { return m_leds; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QLabel* m_text;
    TLedPanel* m_leds;
};
