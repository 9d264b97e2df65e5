#pragma once
// A UserDialogs that records every modal step and answers from queues, so a test decides
// every answer in advance and checks every text afterwards. A question with nothing queued
// is answered with the fallback (No, Cancel or an empty file name) and counted as
// unexpected.

#include "platform/user_dialogs.h"

#include <QList>
#include <functional>
#include <QQueue>
#include <QString>

class ScriptedDialogs : public UserDialogs {
public:
    enum class Kind { Message, YesNo, YesNoCancel, OpenFile, SaveFile };
    struct Step {
        Kind kind;
        QString text;  // message text, or the file dialog's title
        QString title; // message title, or the file dialog's filter
        Icon icon = Icon::None;
        FileRequest request; // file dialogs only
        QString detail;      // message boxes with a detail text
    };

    void setNextAnswer(Answer a) { m_answers.enqueue(a); }
    void setNextFileName(const QString& name) { m_fileNames.enqueue(name); }

    const QList<Step>& steps() const { return m_steps; }
    QStringList texts() const
    {
        QStringList out;
        for (const Step& s : m_steps)
            out << s.text;
        return out;
    }
    QString lastText() const { return m_steps.isEmpty() ? QString() : m_steps.last().text; }
    int beeps() const { return m_beeps; }
    int unexpected() const { return m_unexpected; }
    int pendingAnswers() const { return m_answers.size() + m_fileNames.size(); }
    void clear()
    {
        m_steps.clear();
        m_beeps = 0;
        m_unexpected = 0;
        m_answers.clear();
        m_fileNames.clear();
    }

    void message(const QString& text, const QString& title, Icon icon) override
    {
        add({Kind::Message, text, title, icon, {}, {}});
    }
    void detailedMessage(const QString& text, const QString& detail, const QString& title,
                         Icon icon) override
    {
        add({Kind::Message, text, title, icon, {}, detail});
    }
    Answer askYesNo(const QString& text, const QString& title, Icon icon) override
    {
        add({Kind::YesNo, text, title, icon, {}, {}});
        return take(Answer::No);
    }
    Answer askYesNoCancel(const QString& text, const QString& title, Icon icon) override
    {
        add({Kind::YesNoCancel, text, title, icon, {}, {}});
        return take(Answer::Cancel);
    }
    QString openFileName(const FileRequest& r) override
    {
        add({Kind::OpenFile, r.title, r.filter, Icon::None, r, {}});
        return takeName();
    }
    QString saveFileName(const FileRequest& r) override
    {
        add({Kind::SaveFile, r.title, r.filter, Icon::None, r, {}});
        return takeName();
    }
    void beep() override { ++m_beeps; }

    std::function<void()> onStep; // called as each step is asked, before it is answered

private:
    void add(Step step)
    {
        if (onStep)
            onStep();
        m_steps.append(std::move(step));
    }
    Answer take(Answer fallback)
    {
        if (m_answers.isEmpty()) {
            ++m_unexpected;
            return fallback;
        }
        return m_answers.dequeue();
    }
    QString takeName()
    {
        if (m_fileNames.isEmpty()) {
            ++m_unexpected;
            return {};
        }
        return m_fileNames.dequeue();
    }

    QList<Step> m_steps;
    QQueue<Answer> m_answers;
    QQueue<QString> m_fileNames;
    int m_beeps = 0;
    int m_unexpected = 0;
};
