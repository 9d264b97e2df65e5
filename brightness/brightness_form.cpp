#include "brightness_form.h"

#include "drag_graph.h"
#include "widgets/dialog_style.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const char* caption, const char* hint, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setToolTip(QString::fromLatin1(hint));
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

TBrightNessFrm::TBrightNessFrm(TBrightData& data, QWidget* parent)
    : QDialog(parent),
      m_data(data),
      m_graph(new TDragGraph(this)),
      m_low(button("&Low", "Set Brightness Table to low scale.", "DoLow", this)),
      m_default(button("&Default", "Sets Brightness Table to default values.", "DoDefault", this)),
      m_full(button("&Full", "Set Brightness Table to full scale.", "DoFull", this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this))
{
    m_ok->setObjectName(QStringLiteral("OkButton"));
    DragGraphModel& g = m_graph->model();
    g.setNrDots(BrightnessTable::kLevels);
    g.setYResolution(BrightnessTable::kMaxLevel);
    m_graph->refresh();

    // The title follows the form the table is read in, so it always names the form returned.
    m_table.load(m_data);
    setWindowTitle(latin1(m_table.title()));
    setMinimumWidth(captionWidth(windowTitle()));
    showLevels(m_table.levels());

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_low);
    buttons->addWidget(m_default);
    buttons->addWidget(m_full);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_graph, 1);
    layout->addLayout(buttons);

    connect(m_low, &QPushButton::clicked, this, &TBrightNessFrm::DoLow);
    connect(m_default, &QPushButton::clicked, this, &TBrightNessFrm::DoDefault);
    connect(m_full, &QPushButton::clicked, this, &TBrightNessFrm::DoFull);
    connect(m_ok, &QPushButton::clicked, this, &TBrightNessFrm::DoOk);
    m_ok->setDefault(true);
}

void TBrightNessFrm::showLevels(const BrightnessTable::Levels& levels)
{
    for (int i = 0; i < BrightnessTable::kLevels; ++i)
        m_graph->setValue(i, levels[static_cast<size_t>(i)]);
}

void TBrightNessFrm::DoLow()
{
    showLevels(BrightnessTable::lowLevels());
}

void TBrightNessFrm::DoDefault()
{
    showLevels(BrightnessTable::defaultLevels());
}

void TBrightNessFrm::DoFull()
{
    showLevels(BrightnessTable::fullLevels());
}

void TBrightNessFrm::DoOk()
{
    for (int i = 0; i < BrightnessTable::kLevels; ++i)
        m_table.setLevel(i, m_graph->value(i));
    m_table.store(m_data);
    accept();
}
