#include "serial_sett_form.h"

#include "platform/latin1.h"
#include "port/serial_settings_apply.h"
#include "widgets/dialog_buttons.h"

#include <algorithm>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>

#include <algorithm>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QVBoxLayout>

namespace lmx {

namespace {

// A combo box drawn without its drop-down button: the fixed fields only show a value.
class PlainComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        option.subControls &= ~QStyle::SC_ComboBoxArrow;
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// The port list shows what each port is beside its name; choosing one puts only the name in
// the box.
class PortItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        const QString about = index.data(Qt::ToolTipRole).toString();
        if (!about.isEmpty())
            option->text += QStringLiteral("   (") + about + QLatin1Char(')');
    }
};

std::string bytesOf(const QString& s)
{
    const QByteArray b = s.toLatin1();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

QComboBox* editableBox(const QString& name, const std::vector<std::string>& items,
                       const std::string& text)
{
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string& item : items)
        box->addItem(latin1(item));
    const int index = box->findText(latin1(text));
    box->setCurrentIndex(index);
    if (index < 0)
        box->setEditText(latin1(text));
    return box;
}

QComboBox* fixedBox(const QString& name, const QStringList& items, int index)
{
    auto* box = new PlainComboBox;
    box->setObjectName(name);
    box->addItems(items);
    box->setCurrentIndex(index >= 0 && index < items.size() ? index : -1);
    box->setEnabled(false);
    return box;
}

// A fixed box without a selection (a stored index out of range) keeps the stored value.
void storeIndex(const QComboBox* box, int& field)
{
    if (box->currentIndex() >= 0)
        field = box->currentIndex();
}

} // namespace

TSerialSettForm::TSerialSettForm(TSerialSettings& record, UserDialogs& dialogs, QWidget* parent)
    : TSerialSettForm(record, dialogs, portChoices(systemPorts()), parent)
{
}

TSerialSettForm::TSerialSettForm(TSerialSettings& record, UserDialogs& dialogs,
                                 const std::vector<PortChoice>& systemPorts, QWidget* parent)
    : QDialog(parent), m_record(record), m_dialogs(dialogs)
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  Serial Settings"));

    std::vector<std::string> system;
    QHash<QString, QString> about;
    for (const PortChoice& port : systemPorts) {
        system.push_back(port.name);
        about.insert(latin1(port.name), QString::fromStdString(port.about));
    }
    m_port = editableBox(QStringLiteral("PortComboBox"), portBoxItems(system), record.PortName);
    for (int i = 0; i < m_port->count(); ++i)
        m_port->setItemData(i, about.value(m_port->itemText(i)), Qt::ToolTipRole);
    m_port->setItemDelegate(new PortItemDelegate(m_port));
    m_port->setMaxVisibleItems(m_port->count());
    // A device server's whole address fits, and a longer name than it shows whole too.
    const QString widest = QStringLiteral("tcp://255.255.255.255:65535");
    m_port->setMinimumContentsLength(
            static_cast<int>(std::max(widest.size(), m_port->currentText().size())) + 1);
    m_port->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_port->view()->setMinimumWidth(m_port->view()->sizeHintForColumn(0) + 24);
    m_portAbout = new QLabel;
    m_portAbout->setObjectName(QStringLiteral("PortAboutLabel"));
    m_portAbout->setWordWrap(true);
    const auto showAbout = [this, about](const QString& name) {
        m_portAbout->setText(about.value(name.trimmed()));
        m_portAbout->setToolTip(m_portAbout->text());
    };
    showAbout(m_port->currentText());
    connect(m_port, &QComboBox::editTextChanged, this, showAbout);
    m_baudRate = editableBox(QStringLiteral("BaudRateComboBox"), baudRateBoxItems(), record.Baudrate);
    m_dataBits = fixedBox(QStringLiteral("DataBitsComboBox"), {"5", "6", "7", "8"}, record.DataBits);
    m_parity = fixedBox(QStringLiteral("ParityComboBox"), {"None", "Odd", "Even", "Mark", "Space"},
                        record.Parity);
    m_stopBits = fixedBox(QStringLiteral("StopBitsComboBox"), {"1", "1.5", "2"}, record.StopBits);
    m_hwFlow = fixedBox(QStringLiteral("HwFlowComboBox"), {"None", "None but RTS on", "RTS/CTS"},
                        record.HwFlow);
    m_swFlow = fixedBox(QStringLiteral("SwFlowComboBox"), {"None", "XON/XOFF"}, record.SwFlow);
    m_dtrControl = fixedBox(QStringLiteral("DTRControlComboBox"), {"Standard", "Keep off"},
                            record.DTRCtrl);

    auto* base = new QWidget;
    auto* baseForm = new QFormLayout(base);
    baseForm->addRow(QStringLiteral("Port name:"), m_port);
    baseForm->addRow(QString(), m_portAbout);
    baseForm->addRow(QStringLiteral("Baud rate:"), m_baudRate);
    baseForm->addRow(QStringLiteral("Data bits:"), m_dataBits);
    baseForm->addRow(QStringLiteral("Parity:"), m_parity);
    baseForm->addRow(QStringLiteral("Stop bits:"), m_stopBits);
    auto* flow = new QWidget;
    auto* flowForm = new QFormLayout(flow);
    flowForm->addRow(QStringLiteral("Hardware flow:"), m_hwFlow);
    flowForm->addRow(QStringLiteral("Software flow:"), m_swFlow);
    flowForm->addRow(QStringLiteral("DTR control:"), m_dtrControl);

    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl"));
    m_pages->addTab(base, QStringLiteral("Base Settings"));
    m_pages->addTab(flow, QStringLiteral("Flow Control"));
    m_pages->addTab(makeLinePage(record), QStringLiteral("Bus and Line"));
    m_pages->setCurrentIndex(0);

    m_networkNote = new QLabel;
    m_networkNote->setObjectName(QStringLiteral("NetworkPortNote"));
    m_networkNote->setWordWrap(true);
    const auto showNote = [this] {
        const std::string note = portKindNote(bytesOf(m_port->currentText()), m_rs485->isChecked());
        m_networkNote->setText(latin1(note));
        m_networkNote->setVisible(!note.empty());
    };
    showNote();
    connect(m_port, &QComboBox::editTextChanged, this, showNote);
    connect(m_rs485, &QCheckBox::toggled, this, showNote);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(m_networkNote);
    layout->addWidget(okCancelButtons(this, QStringLiteral("Ok"), m_ok, m_cancel));

    // QDialog closes on Escape by rejecting, which is what Cancel does.
    connect(m_ok, &QPushButton::clicked, this, &TSerialSettForm::OkButtonClick);
    m_port->setFocus();
}

QWidget* TSerialSettForm::makeLinePage(const TSerialSettings& record)
{
    m_echo = new QComboBox;
    m_echo->setObjectName(QStringLiteral("EchoComboBox"));
    m_echo->addItems({QStringLiteral("Off: the line brings nothing back"),
                      QStringLiteral("Discard: drop the packet heard back"),
                      QStringLiteral("Verify: drop it, a difference is a collision")});
    m_echo->setCurrentIndex(std::clamp(record.Echo, 0, 2));
    m_rs485 = new QCheckBox(QStringLiteral("Switched by the system (RTS while sending)"));
    m_rs485->setObjectName(QStringLiteral("Rs485CheckBox"));
    m_rs485->setChecked(record.RS485);
    const auto spin = [](const QString& name, int max, int value, const QString& suffix) {
        auto* box = new QSpinBox;
        box->setObjectName(name);
        box->setRange(0, max);
        box->setValue(std::clamp(value, 0, max));
        box->setSuffix(suffix);
        return box;
    };
    m_rs485Before = spin(QStringLiteral("Rs485BeforeSpinBox"), TSerialSettings::kMaxRs485Delay,
                         record.RS485DelayBefore, QStringLiteral(" ms"));
    m_rs485After = spin(QStringLiteral("Rs485AfterSpinBox"), TSerialSettings::kMaxRs485Delay,
                        record.RS485DelayAfter, QStringLiteral(" ms"));
    m_reconnect = spin(QStringLiteral("ReconnectSpinBox"), TSerialSettings::kMaxReconnect,
                       record.Reconnect, QStringLiteral(" s"));
    m_reconnect->setSpecialValueText(QStringLiteral("Off"));
    const auto delaysFollow = [this](bool on) {
        m_rs485Before->setEnabled(on);
        m_rs485After->setEnabled(on);
    };
    delaysFollow(record.RS485);
    connect(m_rs485, &QCheckBox::toggled, this, delaysFollow);

    auto* page = new QWidget;
    auto* form = new QFormLayout(page);
    form->addRow(QStringLiteral("Echo:"), m_echo);
    form->addRow(QStringLiteral("RS-485 direction:"), m_rs485);
    form->addRow(QStringLiteral("Delay before sending:"), m_rs485Before);
    form->addRow(QStringLiteral("Delay after sending:"), m_rs485After);
    form->addRow(QStringLiteral("Reconnect within:"), m_reconnect);
    return page;
}

void TSerialSettForm::OkButtonClick()
{
    const std::string port = bytesOf(m_port->currentText());
    const std::string baud = bytesOf(m_baudRate->currentText());
    const SerialEntryError error = checkSerialEntry(port, baud);
    if (error != SerialEntryError::None) {
        m_dialogs.error(latin1(serialEntryErrorText(error)), QStringLiteral("Error"));
        (error == SerialEntryError::PortName ? m_port : m_baudRate)->setFocus();
        return;
    }
    m_record.PortName = trimmedBlanks(port);
    m_record.Baudrate = baud;
    storeIndex(m_dataBits, m_record.DataBits);
    storeIndex(m_parity, m_record.Parity);
    storeIndex(m_stopBits, m_record.StopBits);
    storeIndex(m_hwFlow, m_record.HwFlow);
    storeIndex(m_swFlow, m_record.SwFlow);
    storeIndex(m_dtrControl, m_record.DTRCtrl);
    m_record.Echo = m_echo->currentIndex();
    m_record.RS485 = m_rs485->isChecked();
    m_record.RS485DelayBefore = m_rs485Before->value();
    m_record.RS485DelayAfter = m_rs485After->value();
    m_record.Reconnect = m_reconnect->value();
    accept();
}

} // namespace lmx
