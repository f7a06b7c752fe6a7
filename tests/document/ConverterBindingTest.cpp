#include "ConversionPivot.h"
#include "ConverterBinding.h"
#include "ConverterLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A directory holding one of the test doubles under the library's own name.
class FakeLibraryDirectory
{
public:
    explicit FakeLibraryDirectory(const char *fakeName)
    {
        const QString fake = QDir(QStringLiteral(QUILLMERE_BUILD_DIR)).filePath(QString::fromLatin1(fakeName));
        m_copied = QFile::copy(fake, m_directory.filePath(QString::fromLatin1(ConverterLibrary::FileName)));
    }
    bool ready() const { return m_copied; }
    QString path() const { return m_directory.path(); }

private:
    QTemporaryDir m_directory;
    bool m_copied = false;
};

using FakeCallLog = const char *();

QByteArray callLog(const ConverterLibrary &library)
{
    return library.operation<FakeCallLog>("FakeCallLog")();
}

const QByteArray shiftJisText = "\\section{\x93\xFA\x96{\x8C\xEA}\r\n\x96{\x95\xB6\x81"
                                "B\r\n";

} // namespace

TEST(ConverterBinding, ReadsAndWritesThroughTheRealLibrary)
{
    const ConverterLibrary library(QStringLiteral(QUILLMERE_BUILD_DIR));
    ASSERT_TRUE(library.isLoaded());
    const ConverterBinding binding(library);
    EXPECT_TRUE(binding.canConvert());
    const ConversionPivot pivot = ConversionPivot::platform();

    const ConversionResult read = binding.read(shiftJisText, pivot.readOptions());
    ASSERT_TRUE(read.converted());
    EXPECT_EQ(read.text, QByteArray("\\section{日本語}\n本文。\n"));
    EXPECT_EQ(read.inputEncoding, TextEncoding::ShiftJis);
    EXPECT_EQ(read.replacedCount, 0u);

    const EncodingFlags saveAs(TextEncoding::ShiftJis, false, NewlineCode::CrLf);
    const ConversionResult written = binding.write(read.text, BuildSaveOptions(saveAs, pivot));
    ASSERT_TRUE(written.converted());
    EXPECT_EQ(written.text, shiftJisText);
    EXPECT_FALSE(written.inputEncoding.has_value());

    // A character Shift_JIS lacks is counted, so the caller can tell the user.
    const ConversionResult lossy = binding.write("a😀b", BuildSaveOptions(saveAs, pivot));
    EXPECT_EQ(lossy.text, "a?b");
    EXPECT_EQ(lossy.replacedCount, 1u);

    const ConversionResult reread = binding.read(shiftJisText, pivot.rereadOptions(TextEncoding::EucJp));
    ASSERT_TRUE(reread.converted());
    EXPECT_EQ(reread.inputEncoding, TextEncoding::EucJp);
}

TEST(ConverterBinding, ReportsAMissingLibrary)
{
    const ConverterLibrary library;
    const ConverterBinding binding(library);
    EXPECT_FALSE(binding.canConvert());
    EXPECT_EQ(binding.read("abc", "-w -Lu").status, ConversionResult::Status::LibraryMissing);
    EXPECT_EQ(binding.write("abc", "-W8 -s").status, ConversionResult::Status::LibraryMissing);
}

TEST(ConverterBinding, RunsTheSequenceWithAZeroFilledBuffer)
{
    const FakeLibraryDirectory directory("libfake_converter.so");
    ASSERT_TRUE(directory.ready());
    const ConverterLibrary library(directory.path());
    const ConverterBinding binding(library);
    ASSERT_TRUE(binding.canConvert());

    const ConversionResult read = binding.read("abcd", "-w -Lu");
    ASSERT_TRUE(read.converted());
    EXPECT_EQ(read.text, "abcd");
    EXPECT_EQ(read.inputEncoding, TextEncoding::EucJp);
    // This library does not count replacements.
    EXPECT_FALSE(read.replacedCount.has_value());
    EXPECT_EQ(callLog(library), "option;size;convert 5 zeroed;code;");

    ASSERT_TRUE(binding.write("abcd", "-W8 -s").converted());
    EXPECT_EQ(callLog(library), "option;size;convert 4 zeroed;");
}

TEST(ConverterBinding, ReportsEachFailedStep)
{
    const FakeLibraryDirectory directory("libfake_converter.so");
    ASSERT_TRUE(directory.ready());
    const ConverterLibrary library(directory.path());
    const ConverterBinding binding(library);

    EXPECT_EQ(binding.read("abc", "fail-sizing").status, ConversionResult::Status::SizingFailed);
    EXPECT_EQ(callLog(library), "option;size;");
    EXPECT_EQ(binding.write("abc", "fail-conversion").status, ConversionResult::Status::ConversionFailed);
    EXPECT_EQ(binding.write("abc", "overreport").status, ConversionResult::Status::ConversionFailed);
    const ConversionResult unknown = binding.read("abc", "code-9");
    EXPECT_EQ(unknown.status, ConversionResult::Status::UnknownInputEncoding);
    EXPECT_TRUE(unknown.text.isEmpty());
}

TEST(ConverterBinding, ReportsMissingOperations)
{
    const FakeLibraryDirectory withoutConvert("libfake_converter_without_convert.so");
    ASSERT_TRUE(withoutConvert.ready());
    const ConverterLibrary partial(withoutConvert.path());
    ASSERT_TRUE(partial.isLoaded());
    const ConverterBinding partialBinding(partial);
    EXPECT_FALSE(partialBinding.canConvert());
    EXPECT_EQ(partialBinding.write("abc", "-W8 -s").status, ConversionResult::Status::OperationMissing);

    // Writing needs no input encoding; reading does.
    const FakeLibraryDirectory withoutCode("libfake_converter_without_kanji_code.so");
    ASSERT_TRUE(withoutCode.ready());
    const ConverterLibrary noCode(withoutCode.path());
    const ConverterBinding noCodeBinding(noCode);
    EXPECT_TRUE(noCodeBinding.canConvert());
    EXPECT_TRUE(noCodeBinding.write("abc", "-W8 -s").converted());
    EXPECT_EQ(noCodeBinding.read("abc", "-w -Lu").status, ConversionResult::Status::OperationMissing);
}
