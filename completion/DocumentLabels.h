#pragma once

#include <QSet>
#include <QString>
#include <QStringList>

// The labels of the document's other files, kept in list order, so that the label
// list for the text being edited is one merge away however many there are.
class DocumentLabels
{
public:
    DocumentLabels() = default;
    // labels: in order of discovery, repeats allowed.
    explicit DocumentLabels(const QStringList &labels);

    const QStringList &labels() const { return m_labels; }

    // The labels of the text being edited (in order of discovery) and these, each
    // once, in list order.
    QStringList with(const QStringList &ownLabels) const;

private:
    QStringList m_labels;
    // Each label case-folded, the key of the list order.
    QStringList m_folded;
    QSet<QString> m_known;
};
