#pragma once
// Every modal step the program asks of the user — message boxes, Yes/No questions, file
// dialogs and the beep — goes through this interface, so a test can answer each of them.
// The program uses QtUserDialogs; tests use ScriptedDialogs (tests/support).

#include <QString>

class UserDialogs {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    enum class Icon { None, Information, Warning, Error, Question };

    struct FileRequest {
        QString title;
        QString filter;        // Qt form: "ORVANTA TextFiles (*.lmx)"
        QString defaultSuffix; // appended to a name typed without one: "lmx"
        QString directory;     // where the dialog starts; empty for the system's default
        bool confirmOverwrite = false; // save dialogs: ask before replacing a file
    };

    virtual ~UserDialogs() = default;

    // A message box with one OK button.
    virtual void message(const QString& text, const QString& title, Icon icon) = 0;
    // The same with a detail text the box shows on request: the system's reason for a
    // failure, beside the program's own words.
    virtual void detailedMessage(const QString& text, const QString& detail, const QString& title,
                                 Icon icon)
    {
        message(detail.isEmpty() ? text : text + QStringLiteral("\n\n") + detail, title, icon);
    }
    // A question with Yes and No (answers Yes or No; closing the box is Cancel, which is not
    // Yes).
    virtual Answer askYesNo(const QString& text, const QString& title, Icon icon) = 0;
    // A question with Yes, No and Cancel (closing the box is Cancel).
    virtual Answer askYesNoCancel(const QString& text, const QString& title, Icon icon) = 0;
    // The chosen file's path, or an empty string when the dialog was cancelled. The open
    // dialog only offers files that exist.
    virtual QString openFileName(const FileRequest& request) = 0;
    virtual QString saveFileName(const FileRequest& request) = 0;
    // A folder that exists (the request's title and directory), or an empty string when the
    // dialog was cancelled.
    virtual QString folderName(const FileRequest& request)
    {
        (void)request;
        return QString();
    }
    // The system beep for a refused keystroke.
    virtual void beep() = 0;

    void warning(const QString& text, const QString& title = QString())
    {
        message(text, title, Icon::Warning);
    }
    void detailedWarning(const QString& text, const QString& detail)
    {
        if (detail.isEmpty())
            warning(text);
        else
            detailedMessage(text, detail, QString(), Icon::Warning);
    }
    void error(const QString& text, const QString& title = QString())
    {
        message(text, title, Icon::Error);
    }
};
