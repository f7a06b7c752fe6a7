#pragma once

#include <QFont>
#include <QHash>
#include <QString>
#include <QStyledItemDelegate>

#include <optional>

// Draws the completion list's rows: each candidate as it is, and for citation keys
// the entry's author and title dimmed beside it, lined up in a column of their own.
class CandidateDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Notes by candidate; none drawn when empty. Handing over the notes already
    // held keeps their width as measured.
    void setNotes(QHash<QString, QString> notes);
    // The width of the keys' column, in pixels: notes start after it.
    void setKeyColumn(int width) { m_keyColumn = width; }
    bool hasNotes() const { return !m_notes.isEmpty(); }
    // The width the widest note takes in font, with the room before it; measured
    // once for the same notes in the same font.
    int notesWidth(const QFont &font);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QHash<QString, QString> m_notes;
    int m_keyColumn = 0;
    QFont m_measuredFont;
    std::optional<int> m_notesWidth;
};
