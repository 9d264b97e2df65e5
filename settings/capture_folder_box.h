#pragma once
// The general settings' capture folder: "Capture Every Transmission" with the folder the
// captures go to and a Browse button. A folder that does not exist is refused on the
// message line below it.

#include <QGroupBox>

#include <optional>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class UserDialogs;

namespace lmx {

class CaptureFolderBox : public QGroupBox {
    Q_OBJECT

public:
    // `dialogs` chooses the folder for Browse; without it there is no Browse button.
    CaptureFolderBox(const std::string& folder, UserDialogs* dialogs, QWidget* parent = nullptr);

    QCheckBox* CaptureCheck() const { return m_capture; }
    QLineEdit* FolderEdit() const { return m_folder; }
    QPushButton* BrowseButton() const { return m_browse; }
    QLabel* MessageLine() const { return m_message; }

    // What the record is to hold: "" when the box is off, the folder when it is on and the
    // folder exists; nothing (and why on the message line) when it is refused.
    std::optional<std::string> folder();

private:
    void follow();
    void browse();

    UserDialogs* m_dialogs;
    QCheckBox* m_capture = nullptr;
    QLineEdit* m_folder = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_message = nullptr;
};

} // namespace lmx
