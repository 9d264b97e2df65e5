#pragma once
// The up/down arrows beside a field. They never take the focus, so the keys keep going to
// the field.

#include <QWidget>

class QToolButton;

class SpinButtons : public QWidget {
    Q_OBJECT
public:
    explicit SpinButtons(QWidget* parent = nullptr);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

signals:
    void up();
    void down();

private:
    QToolButton* m_up;
    QToolButton* m_down;
};
