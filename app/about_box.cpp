#include "about_box.h"

#include <QCoreApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef ORVANTA_VERSION
#define ORVANTA_VERSION "0.0.0"
#endif

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), m_name(new QLabel(this)), m_version(new QLabel(this))
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About ") + QCoreApplication::applicationName());
    m_name->setObjectName(QStringLiteral("ProductName"));
    m_name->setText(QCoreApplication::applicationName());
    QFont big = m_name->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    m_name->setFont(big);
    m_version->setObjectName(QStringLiteral("Version"));
    m_version->setText(versionText());
    auto* purpose = new QLabel(
            QStringLiteral("Test and authoring tool for LED message displays\n"
                           "driven over a serial line by the Lmx packet protocol."),
            this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_version);
    layout->addSpacing(6);
    layout->addWidget(purpose);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TAboutBox::versionText()
{
    return QStringLiteral("Version ") + QStringLiteral(ORVANTA_VERSION);
}
