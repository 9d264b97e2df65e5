#pragma once
// The command list as a Qt list model: one row per command box line. The command box shows
// the display text (Qt::DisplayRole), the hex box the hex text of the same row (HexTextRole);
// both read the line's font, colours and indent through the list box roles. Every change of
// the list arrives as the matching row signal, never as a reset.

#include "command_list.h"
#include "widgets/list_box_roles.h"

#include <QAbstractListModel>
#include <QFont>

class CommandListModel : public QAbstractListModel, private CommandListObserver {
    Q_OBJECT
public:
    enum Role {
        HexTextRole = lbrole::FirstModelRole, // QString
        CommandLineRole,                      // QByteArray
    };

    // Observes `list` from now on; the list must outlive the model.
    explicit CommandListModel(CommandList& list, QObject* parent = nullptr);
    ~CommandListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }

    static QFont fontOf(const TLBItem& item);

signals:
    // A group of changes of the list (lines, selection or cursor) is complete.
    void settled();

private:
    void linesAboutToBeInserted(int first, int last) override;
    void linesInserted() override;
    void linesAboutToBeRemoved(int first, int last) override;
    void linesRemoved() override;
    void lineAboutToBeMoved(int from, int to) override;
    void lineMoved() override;
    void linesChanged(int first, int last) override;
    void changesSettled() override;

    const QFont& cachedFont(const TLBItem& item) const;

    CommandList& m_list;
    // Nearly every line has the same font: the last one made is kept.
    mutable TLBItem m_fontKey;
    mutable QFont m_font;
    mutable bool m_fontValid = false;
};
