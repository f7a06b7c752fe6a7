#include "CodePage.h"

#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>
#include <memory>

namespace {

struct IconvCloser
{
    void operator()(void *cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openToUtf16(const char *encoding)
{
    iconv_t cd = iconv_open("UTF-16LE", encoding);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return nullptr;
    return IconvHandle(cd);
}

} // namespace

bool CodePage::isValidUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

QString CodePage::toUnicode(const QByteArray &bytes, const char *encoding)
{
    const IconvHandle cd = openToUtf16(encoding);
    if (!cd)
        return QString::fromUtf8(bytes);

    QString result;
    result.reserve(bytes.size());
    char *in = const_cast<char *>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char16_t chunk[1024];
    while (inLeft > 0) {
        char *out = reinterpret_cast<char *>(chunk);
        size_t outLeft = sizeof chunk;
        const size_t rc = iconv(static_cast<iconv_t>(cd.get()), &in, &inLeft, &out, &outLeft);
        result.append(reinterpret_cast<const QChar *>(chunk),
                      static_cast<qsizetype>((sizeof chunk - outLeft) / sizeof(char16_t)));
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: mark it and go on with the next byte.
            result.append(QChar::ReplacementCharacter);
            ++in;
            --inLeft;
            iconv(static_cast<iconv_t>(cd.get()), nullptr, nullptr, nullptr, nullptr);
        }
    }
    return result;
}

QString CodePage::fromCp932(const QByteArray &bytes)
{
    return toUnicode(bytes, "CP932");
}
