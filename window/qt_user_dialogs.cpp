#include "qt_user_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon qtIcon(UserDialogs::Icon icon)
{
    switch (icon) {
    case UserDialogs::Icon::Information: return QMessageBox::Information;
    case UserDialogs::Icon::Warning: return QMessageBox::Warning;
    case UserDialogs::Icon::Error: return QMessageBox::Critical;
    case UserDialogs::Icon::Question: return QMessageBox::Question;
    case UserDialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QString boxTitle(const QString& title)
{
    return title.isEmpty() ? QApplication::applicationName() : title;
}

// A Yes / No question with a Cancel button, which Escape and the close button press; without
// `cancelShown` the button is never shown, so closing the box answers neither Yes nor No.
UserDialogs::Answer ask(QWidget* parent, const QString& text, const QString& title,
                        UserDialogs::Icon icon, bool cancelShown)
{
    QMessageBox box(qtIcon(icon), boxTitle(title), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    if (!cancelShown)
        box.button(QMessageBox::Cancel)->hide();
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return UserDialogs::Answer::Yes;
    case QMessageBox::No: return UserDialogs::Answer::No;
    default: return UserDialogs::Answer::Cancel;
    }
}

QString runFileDialog(QWidget* parent, const UserDialogs::FileRequest& r, bool save)
{
    QFileDialog dialog(parent, r.title, r.directory, r.filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(r.defaultSuffix);
    if (save && !r.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

} // namespace

void QtUserDialogs::message(const QString& text, const QString& title, Icon icon)
{
    detailedMessage(text, QString(), title, icon);
}

void QtUserDialogs::detailedMessage(const QString& text, const QString& detail,
                                    const QString& title, Icon icon)
{
    QMessageBox box(qtIcon(icon), boxTitle(title), text, QMessageBox::Ok, m_parent);
    box.setDetailedText(detail); // an empty text shows no details button
    box.exec();
}

UserDialogs::Answer QtUserDialogs::askYesNo(const QString& text, const QString& title, Icon icon)
{
    return ask(m_parent, text, title, icon, false);
}

UserDialogs::Answer QtUserDialogs::askYesNoCancel(const QString& text, const QString& title,
                                                  Icon icon)
{
    return ask(m_parent, text, title, icon, true);
}

QString QtUserDialogs::openFileName(const FileRequest& request)
{
    return runFileDialog(m_parent, request, false);
}

QString QtUserDialogs::saveFileName(const FileRequest& request)
{
    return runFileDialog(m_parent, request, true);
}

QString QtUserDialogs::folderName(const FileRequest& request)
{
    QFileDialog dialog(m_parent, request.title, request.directory);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void QtUserDialogs::beep()
{
    QApplication::beep();
}
