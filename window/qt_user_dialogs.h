#pragma once
// The program's UserDialogs: QMessageBox, QFileDialog and QApplication::beep.

#include "platform/user_dialogs.h"

class QWidget;

class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : m_parent(parent) {}
    void setParent(QWidget* parent) { m_parent = parent; }

    void message(const QString& text, const QString& title, Icon icon) override;
    void detailedMessage(const QString& text, const QString& detail, const QString& title,
                         Icon icon) override;
    Answer askYesNo(const QString& text, const QString& title, Icon icon) override;
    Answer askYesNoCancel(const QString& text, const QString& title, Icon icon) override;
    QString openFileName(const FileRequest& request) override;
    QString saveFileName(const FileRequest& request) override;
    QString folderName(const FileRequest& request) override;
    void beep() override;

private:
    QWidget* m_parent;
};
