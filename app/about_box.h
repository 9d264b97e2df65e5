#pragma once
// The About box: the program's name, its version and what it is for.

#include <QDialog>

class QLabel;

class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* ProductName() const { return m_name; }
    QLabel* Version() const { return m_version; }

    // "Version 0.1.0".
    static QString versionText();

private:
    QLabel* m_name;
    QLabel* m_version;
};
