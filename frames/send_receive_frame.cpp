#include "send_receive_frame.h"

#include "dialogs/parameter_dialogs.h"
#include "widgets/ovel_list_box.h"

#include <QItemSelectionModel>
#include <QVBoxLayout>

TSendReceiveFrame::TSendReceiveFrame(lmx::PacketExchange& exchange, UserDialogs& dialogs,
                                     ParameterDialogs& parameters,
                                     const lmx::WallClock& wallClock,
                                     const lmx::SteadyClock& steadyClock, QWidget* parent)
    : QGroupBox(QStringLiteral("Transmit / Receive"), parent),
      m_parameters(parameters),
      m_engine(exchange, dialogs, m_log, wallClock, steadyClock)
{
    setObjectName(QStringLiteral("SendReceiveFrame"));
    m_box = new TOvelListBox(this);
    m_box->setObjectName(QStringLiteral("ReceiveBox"));
    setUpProgramList(m_box, QFont(QStringLiteral("Arial"), 8), Qt::black);
    m_box->SetDrawLines(true);
    m_box->SetAllowRangeSelect(true);
    m_box->SetAllowExtSelect(true);
    m_box->setModel(&m_log);
    connect(m_box, &TOvelListBox::focusLost, this, &TSendReceiveFrame::focusLost);
    // The newest line stays in sight while a transmission runs. Scrolling repaints the whole
    // box, so a stream of lines scrolls it a few times a second rather than once a line.
    m_followTimer.setSingleShot(true);
    m_followTimer.setInterval(kFollowMs);
    connect(&m_followTimer, &QTimer::timeout, this, [this] {
        if (m_followPending)
            follow();
    });
    connect(&m_log, &ReceiveLogModel::lineAdded, this, [this] {
        if (m_followTimer.isActive())
            m_followPending = true;
        else
            follow();
    });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 4);
    layout->addWidget(m_box);

    m_engine.SetPacketSize(kStartPacketSize);
}

void TSendReceiveFrame::follow()
{
    m_followPending = false;
    m_followTimer.start();
    const int rows = m_log.rowCount();
    if (m_box && rows > 0)
        m_box->scrollTo(m_log.index(rows - 1));
}

void TSendReceiveFrame::focusLost()
{
    m_box->clearSelection();
}

void TSendReceiveFrame::DoPacketSizeExecute()
{
    TSingleBox box;
    box.Header = "Change PacketSize (All in Dec)";
    box.BoxLabel = "Packet Size";
    box.MaxValue = lmx::TransmissionEngine::kMaxPacketSize;
    box.MinValue = lmx::TransmissionEngine::kMinPacketSize;
    box.CurrentValue = m_engine.PacketSize();
    if (m_parameters.AskSingle(box))
        m_engine.SetPacketSize(static_cast<int>(box.CurrentValue));
}
