#include "WidestText.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QHash>
#include <QStringView>

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

namespace {

// More texts than this tying for the widest estimate are not all laid out: what
// sets them apart then is kerning, a pixel or so.
constexpr int MostLaidOut = 64;

// The advance of each character, measured once however often it comes.
class CharacterAdvances
{
public:
    explicit CharacterAdvances(const QFontMetrics &metrics)
        : m_metrics(metrics)
    {
    }

    // The sum of the advances of text's characters, a surrogate pair as one.
    qreal sum(QStringView text)
    {
        qreal total = 0;
        for (qsizetype at = 0; at < text.size(); ++at) {
            const QChar unit = text[at];
            const bool pair = unit.isHighSurrogate() && at + 1 < text.size() && text[at + 1].isLowSurrogate();
            total += advance(pair ? QChar::surrogateToUcs4(unit, text[++at]) : unit.unicode());
        }
        return total;
    }

private:
    qreal advance(char32_t code)
    {
        const auto known = m_advances.constFind(code);
        if (known != m_advances.cend())
            return *known;
        const qreal measured = m_metrics.horizontalAdvance(QString::fromUcs4(&code, 1));
        m_advances.insert(code, measured);
        return measured;
    }

    QFontMetricsF m_metrics;
    QHash<char32_t, qreal> m_advances;
};

} // namespace

// A text laid out is as wide as its characters' advances added up, less what
// kerning and ligatures take away. So the texts are laid out widest estimate
// first, and once an estimate is no wider than the widest text laid out, none of
// the texts left can be wider.
int WidestText::width(const QStringList &texts, const QFontMetrics &metrics)
{
    CharacterAdvances advances(metrics);
    std::vector<std::pair<qreal, qsizetype>> estimates;
    estimates.reserve(static_cast<std::size_t>(texts.size()));
    for (qsizetype i = 0; i < texts.size(); ++i)
        estimates.emplace_back(advances.sum(texts[i]), i);
    const auto laidOut = std::min<std::size_t>(estimates.size(), MostLaidOut);
    std::partial_sort(estimates.begin(), estimates.begin() + static_cast<std::ptrdiff_t>(laidOut), estimates.end(),
                      std::greater<>());
    int widest = 0;
    for (std::size_t rank = 0; rank < laidOut && estimates[rank].first > widest; ++rank)
        widest = std::max(widest, metrics.horizontalAdvance(texts[estimates[rank].second]));
    return widest;
}
