#pragma once

#include <QByteArrayView>
#include <QtGlobal>

class QIODevice;

// The longest line of a file, measured in its bytes, LF and CR both ending a line;
// a file in UTF-16 is read by its two-byte units.
// Taken before a file is shown: the editor lays a line out whole, and one of many
// megabytes keeps it busy for minutes.
class LongestLine
{
public:
    // Lines longer than this are asked about before they are shown.
    static constexpr qint64 Limit = 1024 * 1024;

    // Reads the device from where it stands to its end, in pieces.
    static LongestLine of(QIODevice &device);

    qint64 length() const { return m_length; }
    // The line, from 1.
    qint64 line() const { return m_line; }

    // How the bytes of a file make its characters.
    enum class Layout { Bytes, Utf16LittleEndian, Utf16BigEndian };

private:
    class Meter;

    static void takeBytes(Meter &meter, QByteArrayView bytes);
    static void takeUtf16(Meter &meter, QByteArrayView bytes, Layout layout, int &pending);

    qint64 m_length = 0;
    qint64 m_line = 0;
};
