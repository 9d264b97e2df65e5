#pragma once
// A push button that stands for an action: it is enabled while the action is and a click
// triggers the action. Caption and hint are its own (the key buttons' captions follow their
// keys; FPACK and NPACK differ from their actions' captions and hints).

#include <QPointer>
#include <QPushButton>

class QAction;

class ActionButton : public QPushButton {
    Q_OBJECT
public:
    ActionButton(QAction* action, const QString& caption, QWidget* parent = nullptr);

    QAction* action() const { return m_action; }

private:
    void follow();

    QPointer<QAction> m_action;
};
