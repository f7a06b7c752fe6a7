#include "CandidateDelegate.h"

#include "WidestText.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>

#include <algorithm>
#include <utility>

namespace {

// Room between a key and its note.
constexpr int NoteGap = 12;

// Where the row's own text starts, as the style draws it.
int textMargin(const QStyleOptionViewItem &option)
{
    const QStyle *style = option.widget ? option.widget->style() : QApplication::style();
    return style->pixelMetric(QStyle::PM_FocusFrameHMargin, &option, option.widget) + 1;
}

} // namespace

void CandidateDelegate::setNotes(QHash<QString, QString> notes)
{
    if (notes.isSharedWith(m_notes))
        return;
    m_notes = std::move(notes);
    m_notesWidth.reset();
}

int CandidateDelegate::notesWidth(const QFont &font)
{
    if (!m_notesWidth || font != m_measuredFont) {
        const int widest = WidestText::width(m_notes.values(), QFontMetrics(font));
        m_measuredFont = font;
        m_notesWidth = widest == 0 ? 0 : widest + NoteGap;
    }
    return *m_notesWidth;
}

void CandidateDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const QString candidate = index.data().toString();
    const QString note = m_notes.value(candidate);
    if (note.isEmpty())
        return;
    const QFontMetrics metrics(option.font);
    const int keyWidth = metrics.horizontalAdvance(candidate);
    const int left = option.rect.left() + textMargin(option) + std::max(m_keyColumn, keyWidth) + NoteGap;
    const QRect room(left, option.rect.top(), option.rect.right() - left, option.rect.height());
    if (room.width() <= 0)
        return;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    painter->setFont(option.font);
    painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::PlaceholderText));
    painter->drawText(room, Qt::AlignLeft | Qt::AlignVCenter, metrics.elidedText(note, Qt::ElideRight, room.width()));
    painter->restore();
}
