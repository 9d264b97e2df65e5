#include "capture_folder_box.h"

#include "packets/capture_file.h"
#include "platform/user_dialogs.h"
#include "widgets/dialog_style.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace lmx {

CaptureFolderBox::CaptureFolderBox(const std::string& folder, UserDialogs* dialogs,
                                   QWidget* parent)
    : QGroupBox(QStringLiteral("Capture"), parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("CaptureGroup"));
    m_capture = new QCheckBox(QStringLiteral("Capture Every Transmission To Folder"), this);
    m_capture->setObjectName(QStringLiteral("CaptureCheck"));
    m_capture->setChecked(!folder.empty());
    m_folder = new QLineEdit(QFile::decodeName(QByteArray::fromStdString(folder)), this);
    m_folder->setObjectName(QStringLiteral("CaptureFolderEdit"));
    m_browse = new QPushButton(QStringLiteral("Browse\u2026"), this);
    m_browse->setObjectName(QStringLiteral("CaptureBrowseButton"));
    m_browse->setAutoDefault(false);
    m_browse->setVisible(m_dialogs != nullptr);
    m_message = newMessageLine(this);

    auto* row = new QHBoxLayout;
    row->addSpacing(18);
    row->addWidget(m_folder, 1);
    row->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_capture);
    layout->addLayout(row);
    layout->addWidget(m_message);

    connect(m_capture, &QCheckBox::toggled, this, &CaptureFolderBox::follow);
    connect(m_browse, &QPushButton::clicked, this, &CaptureFolderBox::browse);
    follow();
}

void CaptureFolderBox::follow()
{
    m_folder->setEnabled(m_capture->isChecked());
    m_browse->setEnabled(m_capture->isChecked());
    m_message->clear();
}

void CaptureFolderBox::browse()
{
    UserDialogs::FileRequest request;
    request.title = QStringLiteral("Capture Folder");
    request.directory = m_folder->text().isEmpty() ? QDir::currentPath() : m_folder->text();
    const QString chosen = m_dialogs->folderName(request);
    if (!chosen.isEmpty())
        m_folder->setText(QDir::toNativeSeparators(chosen));
}

std::optional<std::string> CaptureFolderBox::folder()
{
    if (!m_capture->isChecked())
        return std::string();
    const std::string folder = QFile::encodeName(m_folder->text().trimmed()).toStdString();
    const std::string problem = folder.empty() ? "Choose the folder the captures go to."
                                               : captureFolderProblem(folder);
    m_message->setText(QString::fromLocal8Bit(problem.c_str()));
    if (!problem.empty()) {
        m_folder->setFocus();
        return std::nullopt;
    }
    return folder;
}

} // namespace lmx
