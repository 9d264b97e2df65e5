#include "dialog_style.h"

#include <QLabel>

QLabel* newMessageLine(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(QStringLiteral("MessageLine"));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, Qt::red);
    label->setPalette(p);
    label->setMinimumHeight(label->fontMetrics().height());
    return label;
}
