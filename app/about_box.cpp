#include "about_box.h"

#include <QApplication>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#ifndef ORVANTA_VERSION
#define ORVANTA_VERSION "0.0.0"
#endif

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent), m_name(new QLabel(this)), m_version(new QLabel(this)),
      m_licence(new QLabel(this))
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
    m_licence->setObjectName(QStringLiteral("Licence"));
    m_licence->setText(licenceText());
    auto* aboutQt = new QPushButton(QStringLiteral("About Qt"), this);
    aboutQt->setObjectName(QStringLiteral("AboutQtButton"));
    aboutQt->setAutoDefault(false);
    connect(aboutQt, &QPushButton::clicked, this, [] { QApplication::aboutQt(); });
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(aboutQt);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_name);
    layout->addWidget(m_version);
    layout->addSpacing(6);
    layout->addWidget(purpose);
    layout->addSpacing(6);
    layout->addWidget(m_licence);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString TAboutBox::licenceText()
{
    return QStringLiteral("Released under the Apache License 2.0.\nBuilt with Qt %1, running on Qt %2.")
            .arg(QStringLiteral(QT_VERSION_STR), QString::fromLatin1(qVersion()));
}

QString TAboutBox::versionText()
{
    return QStringLiteral("Version ") + QStringLiteral(ORVANTA_VERSION);
}
