#include "ConverterBinding.h"

#include "ConverterLibrary.h"
#include "HugePageMemory.h"
#include "nkf32.h"

#include <cstdint>
#include <limits>
#include <mutex>

namespace {

// The library's exported operations, typed by its own header so that the two
// cannot drift apart.
using SetOptionOperation = decltype(SetNkfOption);
using ConvertOperation = decltype(NkfConvertSafe);
using KanjiCodeOperation = decltype(NkfGetKanjiCode);
using ReplacedCountOperation = decltype(NkfGetReplacedCount);

// The library keeps its options and the last input's encoding between calls, so a
// conversion is its whole sequence of calls, from the options to the queries after
// it; files of the document are read on another thread while the editor opens or
// saves.
std::mutex &conversionLock()
{
    static std::mutex lock;
    return lock;
}

ConversionResult failure(ConversionResult::Status status)
{
    ConversionResult result;
    result.status = status;
    return result;
}

} // namespace

ConverterBinding::ConverterBinding(const ConverterLibrary &library)
    : m_library(library)
{
}

bool ConverterBinding::canConvert() const
{
    return m_library.isLoaded() && m_library.operation<SetOptionOperation>("SetNkfOption") != nullptr
           && m_library.operation<ConvertOperation>("NkfConvertSafe") != nullptr;
}

ConversionResult ConverterBinding::read(const QByteArray &bytes, const QByteArray &options) const
{
    return convert(bytes, options, Direction::Reading);
}

ConversionResult ConverterBinding::write(const QByteArray &text, const QByteArray &options) const
{
    return convert(text, options, Direction::Writing);
}

ConversionResult ConverterBinding::convert(const QByteArray &input, const QByteArray &options,
                                           Direction direction) const
{
    if (!m_library.isLoaded())
        return failure(ConversionResult::Status::LibraryMissing);
    if (input.size() > std::numeric_limits<std::uint32_t>::max())
        return failure(ConversionResult::Status::InputTooLarge);
    const auto inputLength = static_cast<std::uint32_t>(input.size());
    const std::lock_guard guard(conversionLock());

    auto *const setOption = m_library.operation<SetOptionOperation>("SetNkfOption");
    if (setOption == nullptr)
        return failure(ConversionResult::Status::OperationMissing);
    setOption(options.constData());

    auto *const measure = m_library.operation<ConvertOperation>("NkfConvertSafe");
    if (measure == nullptr)
        return failure(ConversionResult::Status::OperationMissing);
    std::uint32_t needed = 0;
    if (measure(nullptr, 0, &needed, input.constData(), inputLength) == 0)
        return failure(ConversionResult::Status::SizingFailed);

    // Reading keeps one zero byte after the text, as every reader of it expects.
    const std::uint32_t spare = direction == Direction::Reading ? 1 : 0;
    if (needed > std::numeric_limits<std::uint32_t>::max() - spare)
        return failure(ConversionResult::Status::SizingFailed);
    const std::uint32_t capacity = needed + spare;
    QByteArray buffer = HugePageMemory::zeroedBytes(static_cast<qsizetype>(capacity));

    auto *const convertText = m_library.operation<ConvertOperation>("NkfConvertSafe");
    if (convertText == nullptr)
        return failure(ConversionResult::Status::OperationMissing);
    std::uint32_t written = 0;
    if (convertText(buffer.data(), capacity, &written, input.constData(), inputLength) == 0 || written > capacity)
        return failure(ConversionResult::Status::ConversionFailed);
    buffer.truncate(static_cast<qsizetype>(written));

    ConversionResult result;
    result.status = ConversionResult::Status::Converted;
    result.text = buffer;
    if (direction == Direction::Reading)
        queryInputEncoding(result);
    if (result.converted())
        queryReplacedCount(result);
    return result;
}

void ConverterBinding::queryInputEncoding(ConversionResult &result) const
{
    auto *const kanjiCode = m_library.operation<KanjiCodeOperation>("NkfGetKanjiCode");
    if (kanjiCode == nullptr) {
        result = failure(ConversionResult::Status::OperationMissing);
        return;
    }
    // A code outside the six would leave the document with no encoding at all.
    result.inputEncoding = textEncodingFromCode(kanjiCode());
    if (!result.inputEncoding)
        result = failure(ConversionResult::Status::UnknownInputEncoding);
}

void ConverterBinding::queryReplacedCount(ConversionResult &result) const
{
    // Counting replacements is an addition of our own library; others lack it.
    if (auto *const replacedCount = m_library.operation<ReplacedCountOperation>("NkfGetReplacedCount"))
        result.replacedCount = replacedCount();
}
