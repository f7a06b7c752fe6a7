#include "OutputNormalizer.h"

#include <algorithm>

namespace {

// How many bytes the UTF-8 character that starts with c takes; a byte that starts
// none counts as one.
qsizetype characterLength(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0xF8)
        return 1;
    if (byte >= 0xF0)
        return 4;
    if (byte >= 0xE0)
        return 3;
    if (byte >= 0xC0)
        return 2;
    return 1;
}

// Where the character that the run ends inside of starts; -1 when the run ends
// with a whole character.
qsizetype unfinishedCharacterStart(QByteArrayView run)
{
    for (qsizetype at = run.size() - 1; at >= std::max<qsizetype>(0, run.size() - 3); --at) {
        const auto byte = static_cast<unsigned char>(run[at]);
        if (byte < 0x80)
            return -1;
        if (byte >= 0xC0)
            return at + characterLength(run[at]) > run.size() ? at : -1;
    }
    return -1;
}

} // namespace

// Where a run of ordinary bytes has to be cut so that the line holds at most
// room bytes more: before the first character that would not fit whole.
qsizetype OutputNormalizer::cutFor(QByteArrayView run, qsizetype room)
{
    // A character takes at most four bytes, so all before the last four fit.
    for (qsizetype at = std::max<qsizetype>(0, room - 3); at < room; ++at) {
        if (at + characterLength(run[at]) > room)
            return at;
    }
    return room;
}

// Bytes other than line ends and zero bytes go in as they are, cut into lines of
// at most LongestLine bytes.
void OutputNormalizer::appendRun(QByteArray &result, QByteArrayView run)
{
    while (m_lineLength + run.size() > LongestLine) {
        const qsizetype cut = cutFor(run, LongestLine - m_lineLength);
        result.append(run.first(cut));
        result.append('\n');
        m_lineLength = 0;
        run = run.sliced(cut);
    }
    // The rest of a character that a read ends inside of comes with the next read,
    // too late to cut before it: a character is begun only on a line it fits on.
    const qsizetype unfinished = unfinishedCharacterStart(run);
    if (unfinished >= 0 && m_lineLength + unfinished + characterLength(run[unfinished]) > LongestLine) {
        result.append(run.first(unfinished));
        result.append('\n');
        m_lineLength = 0;
        run = run.sliced(unfinished);
    }
    result.append(run);
    m_lineLength += run.size();
}

QByteArray OutputNormalizer::normalize(QByteArrayView chunk)
{
    QByteArray result;
    result.reserve(chunk.size() + chunk.size() / LongestLine + 1);
    const auto special = [](char c) { return c == '\0' || c == '\r' || c == '\n'; };
    for (auto at = chunk.begin(); at != chunk.end();) {
        const auto runEnd = std::find_if(at, chunk.end(), special);
        if (runEnd != at) {
            appendRun(result, QByteArrayView(at, runEnd));
            m_lastByte = *(runEnd - 1);
        }
        if (runEnd == chunk.end())
            break;
        const char c = *runEnd;
        if (c != '\0') {
            if (c == '\r' || m_lastByte != '\r') {
                result.append('\n');
                m_lineLength = 0;
            }
            m_lastByte = c;
        }
        at = runEnd + 1;
    }
    return result;
}
