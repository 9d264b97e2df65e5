#include "dialog_style.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

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

int captionWidth(const QString& title)
{
    const QFontMetrics fm(QFontDatabase::systemFont(QFontDatabase::TitleFont));
    const int barHeight = fm.height() + 10;
    constexpr int kBarItems = 4; // the icon, and help, maximise and close
    return fm.horizontalAdvance(title) + kBarItems * barHeight;
}

QSpinBox* newSpinBox(const char* name, int low, int high, int value, QWidget* parent)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(low, high);
    box->setValue(std::clamp(value, low, high));
    return box;
}
