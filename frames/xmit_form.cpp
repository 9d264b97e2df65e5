#include "xmit_form.h"

#include "platform/latin1.h"
#include "port/debug_view_lines.h"
#include "transmission/packet_exchange.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace lmx {

namespace {

QListWidget* makeList(int width, const QString& name)
{
    auto* list = new QListWidget;
    list->setObjectName(name);
    QFont font(QStringLiteral("Courier New"), 10, QFont::Bold);
    font.setStyleHint(QFont::Monospace);
    list->setFont(font);
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, Qt::white);
    list->setPalette(palette);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setUniformItemSizes(true);
    list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    list->setFixedWidth(width);
    return list;
}

// A click, a drag or a scroll in one list of a pane moves the other one with it.
void pairLists(QListWidget* a, QListWidget* b)
{
    auto follow = [](QListWidget* from, QListWidget* to) {
        QObject::connect(from, &QListWidget::currentRowChanged, to, [to](int row) {
            if (to->currentRow() != row)
                to->setCurrentRow(row);
        });
        QObject::connect(from->verticalScrollBar(), &QScrollBar::valueChanged, to,
                         [to](int value) {
                             if (to->verticalScrollBar()->value() != value)
                                 to->verticalScrollBar()->setValue(value);
                         });
    };
    follow(a, b);
    follow(b, a);
}

void addCapped(QListWidget* list, const QString& line)
{
    list->addItem(line);
    while (list->count() > kDebugListMaxLines)
        delete list->takeItem(0);
}

} // namespace

TXmitForm::TXmitForm(PacketExchange& exchange, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral(" Serial Debug"));
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(makePane(QStringLiteral("Transmitted:"), m_txHex, m_txChars));
    splitter->addWidget(makePane(QStringLiteral("Received:"), m_rxHex, m_rxChars));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    setFixedWidth(kWidth);
    resize(kWidth, 480);

    connect(&exchange, &PacketExchange::transmitViewUpdate, this, &TXmitForm::showTransmitted);
    connect(&exchange, &PacketExchange::receiveViewUpdate, this, &TXmitForm::showReceived);
    connect(&exchange, &PacketExchange::debugListsCleared, this, &TXmitForm::clearLists);
}

QWidget* TXmitForm::makePane(const QString& caption, QListWidget*& hex, QListWidget*& chars)
{
    auto* pane = new QWidget;
    auto* column = new QVBoxLayout(pane);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto* label = new QLabel(caption);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setFrameStyle(QFrame::Panel | QFrame::Raised);
    label->setMargin(2);
    column->addWidget(label);

    const QString base = caption.startsWith(QLatin1Char('T')) ? QStringLiteral("Transmit")
                                                               : QStringLiteral("Receive");
    hex = makeList(kHexListWidth, base + QStringLiteral("HexList"));
    chars = makeList(kCharListWidth, base + QStringLiteral("CharList"));
    pairLists(hex, chars);
    auto* row = new QHBoxLayout;
    row->setContentsMargins(6, 3, 6, 3);
    row->setSpacing(3);
    row->addWidget(hex);
    row->addWidget(chars);
    row->addStretch();
    column->addLayout(row, 1);
    return pane;
}

void TXmitForm::addBytes(QListWidget* hexList, QListWidget* charList, const QByteArray& bytes)
{
    hexList->setUpdatesEnabled(false);
    charList->setUpdatesEnabled(false);
    for (const DebugViewLine& line :
         debugViewLines(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())))) {
        addCapped(hexList, latin1(line.hex));
        addCapped(charList, latin1(line.chars));
    }
    hexList->setUpdatesEnabled(true);
    charList->setUpdatesEnabled(true);
    hexList->scrollToBottom();
    charList->scrollToBottom();
}

void TXmitForm::showTransmitted(const QByteArray& bytes)
{
    addBytes(m_txHex, m_txChars, bytes);
}

void TXmitForm::showReceived(const QByteArray& bytes)
{
    addBytes(m_rxHex, m_rxChars, bytes);
}

void TXmitForm::clearLists()
{
    m_txHex->clear();
    m_txChars->clear();
    m_rxHex->clear();
    m_rxChars->clear();
}

} // namespace lmx
