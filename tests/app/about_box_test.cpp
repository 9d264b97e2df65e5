#include "app/about_box.h"

#include <QLabel>

#include <gtest/gtest.h>

// The licence a user or packager looks for is named where the program names itself.
TEST(AboutBox, NamesTheLicenceAndTheQtVersion)
{
    TAboutBox box;
    const QString text = box.Licence()->text();
    EXPECT_TRUE(text.contains(QStringLiteral("Apache License 2.0"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromLatin1(qVersion()))) << text.toStdString();
}
