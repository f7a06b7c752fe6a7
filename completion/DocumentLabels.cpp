#include "DocumentLabels.h"

#include "CandidateList.h"

DocumentLabels::DocumentLabels(const QStringList &labels)
{
    QStringList distinct;
    for (const QString &label : labels) {
        if (!m_known.contains(label)) {
            m_known.insert(label);
            distinct.append(label);
        }
    }
    m_labels = CandidateList::sorted(std::move(distinct));
    m_folded.reserve(m_labels.size());
    for (const QString &label : std::as_const(m_labels))
        m_folded.append(label.toCaseFolded());
}

QStringList DocumentLabels::with(const QStringList &ownLabels) const
{
    QStringList own;
    for (const QString &label : ownLabels) {
        if (!m_known.contains(label))
            own.append(label);
    }
    own = CandidateList::sorted(std::move(own));
    QStringList merged;
    merged.reserve(own.size() + m_labels.size());
    qsizetype other = 0;
    // The text's own labels come first among those that fold to the same key.
    for (const QString &label : std::as_const(own)) {
        const QString folded = label.toCaseFolded();
        while (other < m_labels.size() && m_folded[other] < folded)
            merged.append(m_labels[other++]);
        merged.append(label);
    }
    while (other < m_labels.size())
        merged.append(m_labels[other++]);
    return merged;
}
