#include "field_grid_dialog.h"

#include "field_edit.h"
#include "spin_buttons.h"
#include "widgets/dialog_style.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

FieldGridDialog::FieldGridDialog(UserDialogs& dialogs, size_t fields, int columns,
                                 bool confirmKeys, QWidget* parent)
    : QDialog(parent),
      m_message(newMessageLine(this)),
      m_ok(new QPushButton(QStringLiteral("Ok"), this)),
      m_cancel(new QPushButton(QStringLiteral("Cancel"), this))
{
    m_ok->setObjectName(QStringLiteral("OkButton"));
    m_cancel->setObjectName(QStringLiteral("CancelButton"));
    m_cancel->setAutoDefault(false);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(2);
    for (size_t i = 0; i < fields; ++i) {
        auto* label = new QLabel(this);
        auto* field = new FieldEdit(dialogs, this);
        auto* spin = new SpinButtons(this);
        label->setBuddy(field);
        field->setObjectName(QStringLiteral("Field%1").arg(i));
        field->setKeyFilter([this, i](char c) { return fieldKey(i, c); });
        m_labels.push_back(label);
        m_fields.push_back(field);
        m_spins.push_back(spin);

        auto* cell = new QHBoxLayout;
        cell->setSpacing(2);
        cell->addWidget(field);
        cell->addWidget(spin);
        cell->addStretch(1);
        const int row = static_cast<int>(i) / columns;
        const int col = static_cast<int>(i) % columns;
        grid->addWidget(label, 2 * row, col);
        grid->addLayout(cell, 2 * row + 1, col);
        // Rows of cells stand apart from each other; a label sits close to its field.
        // (a margin, not a row height, so a hidden row takes no room).
        if (row > 0)
            label->setContentsMargins(0, 8, 0, 0);

        connect(field, &QLineEdit::textChanged, this, [this, i, field] {
            if (m_refreshing)
                return;
            fieldEdited(i, field->latin1Text());
            refresh();
        });
        connect(spin, &SpinButtons::up, this, [this, i] {
            fieldUp(i);
            refresh();
        });
        connect(spin, &SpinButtons::down, this, [this, i] {
            fieldDown(i);
            refresh();
        });
        if (confirmKeys)
            connect(field, &FieldEdit::enterReleased, this, &FieldGridDialog::confirm);
        connect(field, &FieldEdit::escapeReleased, this, &QDialog::reject);
    }
    // Room a wide caption adds goes right of the cells.
    grid->setColumnStretch(columns, 1);
    connect(m_ok, &QPushButton::clicked, this, &FieldGridDialog::confirm);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_ok);
    buttonRow->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(m_message);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void FieldGridDialog::setCell(size_t i, const std::string& label, bool visible, int maxLength)
{
    m_labels.at(i)->setText(latin1(label));
    m_labels[i]->setVisible(visible);
    m_fields[i]->setVisible(visible);
    m_spins[i]->setVisible(visible);
    m_fields[i]->setMaxLength(maxLength > 0 ? maxLength : 32767);
    const QFontMetrics fm = m_fields[i]->fontMetrics();
    const int chars = std::max(maxLength, 2) + 1;
    m_fields[i]->setFixedWidth(fm.horizontalAdvance(QString(chars, QLatin1Char('W'))) + 12);
}

void FieldGridDialog::refresh()
{
    m_refreshing = true;
    for (size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->showText(fieldText(i));
        m_fields[i]->setInvalid(fieldInvalid(i));
    }
    m_refreshing = false;
    m_message->setText(latin1(message()));
    m_ok->setEnabled(okEnabled());
}

void FieldGridDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    for (FieldEdit* f : m_fields)
        if (!f->isHidden()) {
            f->setFocus();
            f->selectAll();
            break;
        }
}

void FieldGridDialog::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if ((event->type() != QEvent::WindowTitleChange && event->type() != QEvent::FontChange)
        || !layout())
        return;
    // The message line spans the dialog: its least width sets the dialog's.
    const QMargins margins = layout()->contentsMargins();
    m_message->setMinimumWidth(captionWidth(windowTitle()) - margins.left() - margins.right());
}

void FieldGridDialog::confirm()
{
    if (!okEnabled())
        return;
    confirmed();
}
