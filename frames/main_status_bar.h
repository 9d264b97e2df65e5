#pragma once
// The main window's status bar: the text panel (the client width less 65 pixels, kept so
// on every resize) with the status texts, and the LED panel. While a transmission runs the
// text panel says which packet goes and a progress bar and the failures so far stand beside
// it; when it ends, the status text comes back, and failures, if there were any, stay
// flagged beside it until the next transmission: a click on the flag asks for them to be
// listed (failuresClicked).

#include <QStatusBar>

class QLabel;
class QProgressBar;
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

    // "Packet k of n" (or `text` when given), the bar at k of n and the failures; shown until
    // endProgress().
    void showProgress(int packet, int planned, int failures, const QString& text = QString());
    // `flagHint`, when given, is the failures flag's tool tip.
    void endProgress(const QString& flagHint = QString());
    // The flag of the last transmission's failures is shown.
    bool failuresFlagged() const;
    void clearFailuresFlag();
    bool progressShown() const;
    QProgressBar* progressBar() const { return m_bar; }
    QLabel* failuresPanel() const { return m_failures; }

signals:
    void failuresClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitTextPanel(int width);

    QLabel* m_text;
    QProgressBar* m_bar;
    QLabel* m_failures;
    TLedPanel* m_leds;
    QString m_status; // the status text the progress stands in for
    int m_failureCount = 0;
};
