#include "IconvText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace {

struct IconvCloser
{
    void operator()(iconv_t descriptor) const { iconv_close(descriptor); }
};
using IconvDescriptor = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

// Says which conversion failed where and why, so that a test whose expectation
// cannot be built fails with a reason instead of comparing against a cut text.
[[noreturn]] void fail(const char *to, const char *from, const std::string &where, int error)
{
    throw std::runtime_error("iconv from " + std::string(from) + " to " + to + " failed " + where + ": "
                             + std::strerror(error));
}

IconvDescriptor openIconv(const char *to, const char *from)
{
    const iconv_t opened = iconv_open(to, from);
    if (opened == reinterpret_cast<iconv_t>(-1))
        fail(to, from, "to start", errno);
    return IconvDescriptor(opened);
}

std::string atByte(std::string_view input, std::size_t inLeft)
{
    return "at byte " + std::to_string(input.size() - inLeft) + " of " + std::to_string(input.size());
}

} // namespace

std::string iconvConvert(std::string_view input, const char *to, const char *from)
{
    const IconvDescriptor descriptor = openIconv(to, from);
    std::string output(input.size() * 4 + 16, '\0');
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = output.data();
    std::size_t outLeft = output.size();
    if (iconv(descriptor.get(), &in, &inLeft, &out, &outLeft) == static_cast<std::size_t>(-1)
        || iconv(descriptor.get(), nullptr, nullptr, &out, &outLeft) == static_cast<std::size_t>(-1))
        fail(to, from, atByte(input, inLeft), errno);
    output.resize(output.size() - outLeft);
    return output;
}

QByteArray iconvEncode(const QString &text, const char *encoding)
{
    const QByteArray utf8 = text.toUtf8();
    return QByteArray::fromStdString(iconvConvert(std::string_view(utf8.constData(), utf8.size()), encoding, "UTF-8"));
}

IconvReplaced iconvConvertReplacing(std::string_view input, const char *to, const char *from,
                                    std::string_view replacement,
                                    const std::function<std::size_t(std::string_view)> &rejectedLength)
{
    const IconvDescriptor descriptor = openIconv(to, from);
    IconvReplaced result{std::string(input.size() * 4 + 16, '\0'), 0};
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char *out = result.text.data();
    std::size_t outLeft = result.text.size();
    // Short pieces: glibc converts a piece again from its start after each character
    // it cannot encode.
    constexpr std::size_t Piece = 256;
    while (inLeft > 0) {
        const std::size_t pieceSize = std::min(Piece, inLeft);
        const bool lastPiece = pieceSize == inLeft;
        std::size_t pieceLeft = pieceSize;
        const bool converted = iconv(descriptor.get(), &in, &pieceLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
        const int error = errno;
        inLeft -= pieceSize - pieceLeft;
        // A sequence cut by the end of a piece is whole in the next one.
        if (converted || (error == EINVAL && !lastPiece))
            continue;
        if (error == E2BIG)
            fail(to, from, atByte(input, inLeft), error);
        const std::size_t skipped = error == EINVAL ? inLeft : rejectedLength(std::string_view(in, inLeft));
        std::memcpy(out, replacement.data(), replacement.size());
        out += replacement.size();
        outLeft -= replacement.size();
        ++result.replacements;
        in += skipped;
        inLeft -= skipped;
    }
    result.text.resize(result.text.size() - outLeft);
    return result;
}
