#include "BibliographyFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(BibliographyFilesTest, TheFilesNamedOutsideCommentsWithTheirExtension)
{
    EXPECT_EQ(BibliographyFiles("\\bibliography{refs}\n"), QStringList{"refs.bib"});
    EXPECT_EQ(BibliographyFiles("x \\bibliography { a, b.bib ,,sub/c }\r\n\\bibliography{d}"),
              (QStringList{"a.bib", "b.bib", "sub/c.bib", "d.bib"}));
    EXPECT_EQ(BibliographyFiles("% \\bibliography{old}\n100\\% \\bibliography{new} % \\bibliography{x}\n"),
              QStringList{"new.bib"});
    EXPECT_EQ(BibliographyFiles("\\bibliographystyle{jplain}\n\\bibliography{}\n\\bibliography{open"), QStringList());
    // Shift_JIS text whose second bytes are 0x5C or 0x7B does not hide or invent a name.
    EXPECT_EQ(BibliographyFiles("\x95\x5C\x8E\xA6 \\bibliography{refs}\n\x83\x7B"), QStringList{"refs.bib"});
}

} // namespace
