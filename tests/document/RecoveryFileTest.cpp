#include "RecoveryFile.h"

#include <QCryptographicHash>

#include <gtest/gtest.h>

namespace {

RecoveryFile sample()
{
    RecoveryFile file;
    file.documentPath = QString::fromUtf8("/home/user/論文 草稿/main\nv2.tex");
    file.displayEncoding = EncodingFlags(TextEncoding::ShiftJis, false, NewlineCode::CrLf);
    file.saveEncoding = EncodingFlags(TextEncoding::EucJp, false, NewlineCode::Lf);
    file.writer = ProcessIdentity(4242, 987654321);
    file.written = QDateTime::fromString(QStringLiteral("2026-12-08T06:30:01.250Z"), Qt::ISODateWithMs);
    file.text = QByteArray("\\section{序論}\n\n本文\n").append('\0').append("after a zero byte\n\n");
    return file;
}

TEST(RecoveryFileTest, EveryFieldComesBackAsItWasWritten)
{
    const RecoveryFile written = sample();
    const std::optional<RecoveryFile> read = RecoveryFile::parse(written.serialize());
    ASSERT_TRUE(read);
    EXPECT_EQ(read->documentPath, written.documentPath);
    EXPECT_EQ(read->displayEncoding, written.displayEncoding);
    EXPECT_EQ(read->saveEncoding, written.saveEncoding);
    EXPECT_EQ(read->writer, written.writer);
    EXPECT_EQ(read->written, written.written);
    EXPECT_EQ(read->text, written.text);

    RecoveryFile untitled = sample();
    untitled.documentPath.clear();
    untitled.text.clear();
    const std::optional<RecoveryFile> empty = RecoveryFile::parse(untitled.serialize());
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->documentPath.isEmpty());
    EXPECT_TRUE(empty->text.isEmpty());
}

TEST(RecoveryFileTest, ADamagedFileIsNeverReadHalf)
{
    const QByteArray whole = sample().serialize();
    EXPECT_FALSE(RecoveryFile::parse(whole.left(whole.size() - 1))) << "cut short";
    EXPECT_FALSE(RecoveryFile::parse(whole + "x")) << "longer";
    QByteArray flipped = whole;
    flipped[flipped.size() - 5] = 'X';
    EXPECT_FALSE(RecoveryFile::parse(flipped)) << "a changed byte";
    EXPECT_FALSE(RecoveryFile::parse(QByteArray(whole).replace("pid: ", "pdi: "))) << "a missing field";
    EXPECT_FALSE(RecoveryFile::parse(QByteArray(whole).replace("Quillmere recovery 1", "Quillmere recovery 9")));
    EXPECT_FALSE(RecoveryFile::parse(QByteArray(whole).replace("written: 2026", "written: x026")));
    EXPECT_FALSE(RecoveryFile::parse(QByteArray()));
    EXPECT_FALSE(RecoveryFile::parse(QByteArray(whole.size(), '\0')));
}

TEST(RecoveryFileTest, FilesCheckedWithSha256AreStillRead)
{
    const RecoveryFile written = sample();
    const QByteArray sha256 = QCryptographicHash::hash(written.text, QCryptographicHash::Sha256).toHex();
    const QByteArray crc = written.serialize();
    const qsizetype field = crc.indexOf("\ncrc32: ");
    const QByteArray before = crc.left(field) + "\nsha256: ";
    const QByteArray after = crc.mid(crc.indexOf('\n', field + 1));
    const std::optional<RecoveryFile> read = RecoveryFile::parse(before + sha256 + after);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->text, written.text);
    EXPECT_FALSE(RecoveryFile::parse(before + QByteArray(64, '0') + after));
    EXPECT_FALSE(RecoveryFile::parse(crc.left(field) + after)) << "no checksum";
}

} // namespace
