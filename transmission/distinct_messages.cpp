#include "distinct_messages.h"

namespace lmx {

bool DistinctMessages::firstTime(const QString& text, const QString& detail)
{
    // A NUL never appears in a shown text, so the pair cannot be mistaken for another one.
    const QString key = text + QChar(0) + detail;
    if (m_seen.contains(key))
        return false;
    m_seen.insert(key);
    return true;
}

void DistinctMessages::message(const QString& text, const QString& title, Icon icon)
{
    if (firstTime(text, QString()))
        m_shown.message(text, title, icon);
}

void DistinctMessages::detailedMessage(const QString& text, const QString& detail,
                                       const QString& title, Icon icon)
{
    if (firstTime(text, detail))
        m_shown.detailedMessage(text, detail, title, icon);
}

} // namespace lmx
