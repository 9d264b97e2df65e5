#include "spin_buttons.h"

#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, const char* name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setFixedSize(16, 11);
    return b;
}

} // namespace

SpinButtons::SpinButtons(QWidget* parent)
    : QWidget(parent),
      m_up(arrowButton(Qt::UpArrow, "SpinUp", this)),
      m_down(arrowButton(Qt::DownArrow, "SpinDown", this))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    connect(m_up, &QToolButton::clicked, this, &SpinButtons::up);
    connect(m_down, &QToolButton::clicked, this, &SpinButtons::down);
}
