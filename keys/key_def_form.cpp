#include "key_def_form.h"

#include "dialogs/field_edit.h"
#include "platform/user_dialogs.h"
#include "widgets/dialog_style.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TKeyDefForm::TKeyDefForm(UserDialogs& dialogs, lmx::TKeyDefinition& key, QWidget* parent)
    : QDialog(parent),
      m_dialogs(dialogs),
      m_key(key),
      m_caption(new QLineEdit(this)),
      m_command(new QComboBox(this)),
      m_kind(new QComboBox(this)),
      m_param(new FieldEdit(dialogs, this)),
      m_ok(new QPushButton(QStringLiteral("&Ok"), this))
{
    m_caption->setObjectName(QStringLiteral("KeyTxtEdit"));
    m_caption->setMaxLength(KeyDefRules::kMaxCaptionLength);
    m_caption->setEnabled(false);
    m_caption->setToolTip(QStringLiteral("Enter a Key Name."));
    m_command->setObjectName(QStringLiteral("KeyCommandBox"));
    m_command->setToolTip(QStringLiteral("Assign a Key Command to the Key Button."));
    m_command->setMaxVisibleItems(16);
    for (int i = 0; i < KeyDefRules::kEntries; ++i)
        m_command->addItem(latin1(KeyDefRules::entryText(i)));
    // The entry is chosen from the list; typed characters do not pick one.
    m_command->installEventFilter(this);
    m_kind->setObjectName(QStringLiteral("ParameterBox"));
    for (int n = 0; n <= 3; ++n)
        m_kind->addItem(QLatin1String(KeyDefRules::parameterKindText(n)));
    m_kind->setEnabled(false);
    m_param->setObjectName(QStringLiteral("KeyParamEdit"));
    m_param->setToolTip(QStringLiteral("Assign default Parameters to the Key."));
    m_param->setMinimumWidth(180);
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_ok->setAutoDefault(false);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Key Button Caption"), m_caption);
    form->addRow(QStringLiteral("Key Command"), m_command);
    form->addRow(QStringLiteral("Number of Parameters"), m_kind);
    form->addRow(QStringLiteral("Key Parameter Init"), m_param);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_param->setKeyFilter([this](char c) { return m_rules.key(c); });
    connect(m_command, &QComboBox::currentIndexChanged, this, &TKeyDefForm::commandChosen);
    connect(m_param, &QLineEdit::textChanged, this, &TKeyDefForm::paramEdited);
    connect(m_param, &FieldEdit::enterReleased, this, &TKeyDefForm::confirm);
    connect(m_param, &FieldEdit::escapeReleased, this, &QDialog::reject);
    connect(m_ok, &QPushButton::clicked, this, &TKeyDefForm::confirm);
}

void TKeyDefForm::start()
{
    m_rules.open(m_key);
    setWindowTitle(latin1(m_rules.title()));
    m_caption->setText(latin1(m_rules.caption()));
    {
        const QSignalBlocker block(m_command);
        m_command->setCurrentIndex(m_rules.commandIndex());
    }
    showParameter();
}

bool TKeyDefForm::run()
{
    start();
    return exec() == QDialog::Accepted;
}

bool TKeyDefForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_command && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (!text.isEmpty() && text.at(0).isPrint() && text.at(0) != u' ')
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TKeyDefForm::commandChosen(int index)
{
    m_rules.chooseCommand(index);
    showParameter();
}

void TKeyDefForm::showParameter()
{
    m_kind->setCurrentIndex(m_rules.parameterKind());
    m_param->setEnabled(m_rules.paramEnabled());
    {
        const QSignalBlocker block(m_param);
        m_param->setMaxLength(m_rules.paramMaxLength() > 0 ? m_rules.paramMaxLength() : 32767);
        m_param->setText(latin1(m_rules.paramText()));
    }
    refresh();
}

void TKeyDefForm::paramEdited(const QString&)
{
    if (!m_rules.setParamText(m_param->latin1Text()))
        m_dialogs.beep();
    m_param->showText(m_rules.paramText());
    refresh();
}

void TKeyDefForm::refresh()
{
    const bool ok = m_rules.okEnabled();
    m_ok->setEnabled(ok);
    m_param->setInvalid(!m_rules.paramValid());
}

void TKeyDefForm::confirm()
{
    if (!m_rules.okEnabled())
        return;
    if (!m_rules.fill(m_key, m_command->currentText().toLatin1().toStdString())) {
        m_dialogs.message(QLatin1String(KeyDefRules::kConversionError), QString(),
                          UserDialogs::Icon::Error);
        return;
    }
    accept();
}

bool QtKeyDefinitionAsker::defineKey(lmx::TKeyDefinition& key)
{
    TKeyDefForm form(m_dialogs, key, m_parent);
    return form.run();
}
