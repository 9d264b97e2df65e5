#pragma once
// The answer box's lines as a list model: the text each line shows, in the answer box's look.

#include "styled_lines_model.h"

class AnswerBoxEditor;

class AnswerListModel : public StyledLinesModel {
    Q_OBJECT
public:
    static constexpr QRgb kColour = 0xF31D53;

    explicit AnswerListModel(const AnswerBoxEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    // The lines were added, removed or moved.
    void reload();
    // Only the texts changed (a fill, Restore).
    void textsChanged();

protected:
    QString lineText(int row) const override;

private:
    const AnswerBoxEditor& m_editor;
};
