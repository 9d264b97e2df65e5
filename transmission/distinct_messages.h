#pragma once
// The message boxes of one transmission: a display that stops answering fails every packet
// the same way, and one box per packet would keep the user pressing OK for minutes. Each
// distinct text (with its detail text) is shown once until forget(); the receive box still
// gets a line for every failure. Questions, file dialogs and the beep pass through.

#include "platform/user_dialogs.h"

#include <QSet>

namespace lmx {

class DistinctMessages : public UserDialogs {
public:
    // `shown` must outlive this.
    explicit DistinctMessages(UserDialogs& shown) : m_shown(shown) {}

    // Every text may be shown once more (a new transmission begins).
    void forget() { m_seen.clear(); }

    void message(const QString& text, const QString& title, Icon icon) override;
    void detailedMessage(const QString& text, const QString& detail, const QString& title,
                         Icon icon) override;
    Answer askYesNo(const QString& text, const QString& title, Icon icon) override
    {
        return m_shown.askYesNo(text, title, icon);
    }
    Answer askYesNoCancel(const QString& text, const QString& title, Icon icon) override
    {
        return m_shown.askYesNoCancel(text, title, icon);
    }
    QString openFileName(const FileRequest& request) override
    {
        return m_shown.openFileName(request);
    }
    QString saveFileName(const FileRequest& request) override
    {
        return m_shown.saveFileName(request);
    }
    void beep() override { m_shown.beep(); }

private:
    // True the first time; the text counts as shown before the box opens, so a box that the
    // event loop under it would repeat stays single.
    bool firstTime(const QString& text, const QString& detail);

    UserDialogs& m_shown;
    QSet<QString> m_seen;
};

} // namespace lmx
