#pragma once
// The About box: the program's name, its version, what it is for, its licence and the Qt
// version it runs on, with Qt's own About box a click away.

#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProductName() const { return m_name; }
    QLabel* Version() const { return m_version; }
    QLabel* Licence() const { return m_licence; }

    // "Version 0.2.0".
    static QString versionText();
    // "Released under the Apache License 2.0." and the Qt version the program runs on.
    static QString licenceText();

private:
    QLabel* m_name;
    QLabel* m_version;
    QLabel* m_licence;
};
