#include "qt_user_dialogs.h"

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

UserDialogs::Answer ask(QWidget* parent, const QString& text, const QString& title,
                        UserDialogs::Icon icon, QMessageBox::StandardButtons buttons,
                        QMessageBox::StandardButton escape)
{
    QMessageBox box(qtIcon(icon), boxTitle(title), text, buttons, parent);
    box.setEscapeButton(escape);
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
    QMessageBox box(qtIcon(icon), boxTitle(title), text, QMessageBox::Ok, m_parent);
    box.exec();
}

void QtUserDialogs::messageWithDetail(const QString& text, const QString& detail,
                                      const QString& title, Icon icon)
{
    QMessageBox box(qtIcon(icon), boxTitle(title), text, QMessageBox::Ok, m_parent);
    // Shown at once rather than behind a button: it is what the user needs to go on.
    box.setInformativeText(detail);
    box.exec();
}

UserDialogs::Answer QtUserDialogs::askYesNo(const QString& text, const QString& title, Icon icon)
{
    const Answer a = ask(m_parent, text, title, icon, QMessageBox::Yes | QMessageBox::No,
                         QMessageBox::No);
    return a == Answer::Yes ? Answer::Yes : Answer::No;
}

UserDialogs::Answer QtUserDialogs::askYesNoCancel(const QString& text, const QString& title,
                                                  Icon icon)
{
    return ask(m_parent, text, title, icon,
               QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
}

QString QtUserDialogs::openFileName(const FileRequest& request)
{
    return runFileDialog(m_parent, request, false);
}

QString QtUserDialogs::saveFileName(const FileRequest& request)
{
    return runFileDialog(m_parent, request, true);
}

void QtUserDialogs::beep()
{
    QApplication::beep();
}
