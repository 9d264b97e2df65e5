#pragma once
// The serial debug window: every byte of the packet exchange as hex and as characters,
// eight bytes a line, in a "Transmitted:" pane and a "Received:" pane. A thin view: it shows
// what the exchange tells it and never touches the port.

#include <QWidget>

class QListWidget;
class QByteArray;

namespace lmx {

class PacketExchange;

class TXmitForm : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 375;
    static constexpr int kHexListWidth = 210;
    static constexpr int kCharListWidth = 150;

    explicit TXmitForm(PacketExchange& exchange, QWidget* parent = nullptr);

    QListWidget* transmitHexList() const { return m_txHex; }
    QListWidget* transmitCharList() const { return m_txChars; }
    QListWidget* receiveHexList() const { return m_rxHex; }
    QListWidget* receiveCharList() const { return m_rxChars; }

    void showTransmitted(const QByteArray& bytes);
    void showReceived(const QByteArray& bytes);
    void clearLists();

private:
    QWidget* makePane(const QString& caption, QListWidget*& hex, QListWidget*& chars);
    static void addBytes(QListWidget* hexList, QListWidget* charList, const QByteArray& bytes);

    QListWidget* m_txHex = nullptr;
    QListWidget* m_txChars = nullptr;
    QListWidget* m_rxHex = nullptr;
    QListWidget* m_rxChars = nullptr;
};

} // namespace lmx
