#include "DocumentCollector.h"
#include "DocumentFixture.h"
#include "FileFollower.h"
#include "FileNameLister.h"
#include "MainFileFinder.h"
#include "TexReferences.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList pathsOf(const DocumentSnapshot &snapshot)
{
    QStringList paths;
    for (const SourceStamp &stamp : snapshot.stamps)
        paths.append(stamp.path);
    return paths;
}

// A collector that notes the name of each file it reads, in order.
DocumentCollector collectorNotingReads(const DocumentFixture &fixture, QStringList &read)
{
    return DocumentCollector([&read, reader = fixture.reader()](const QString &path) {
        read.append(QFileInfo(path).fileName());
        return reader(path);
    });
}

TEST(TexReferences, FindsWhatASourceReadsInAndTheDatabasesItNames)
{
    const TexReferences found = TexReferences::find(
        u"\\documentclass{jbook}\\input{a}\\input b \\include{ c }\\includegraphics{x.eps}\\inputencoding{d}"
        u"\\subfile{s/t}\\InputIfFileExists{e.tex}{}{}\\import{parts/}{p}\\input{#1}"
        u"\\bibliography{refs, more ,}\\addbibresource[label=x]{lib.bib}\\include{unclosed");
    QStringList names;
    for (const TexReferences::Inclusion &inclusion : found.inclusions)
        names.append(inclusion.directory + u'|' + inclusion.name + (inclusion.ownFolder ? u"+"_s : QString()));
    EXPECT_EQ(names, QStringList({"|a", "|b", "|c", "|s/t+", "|e.tex", "parts/|p+", "|#1"}));
    EXPECT_EQ(found.bibliographies, QStringList({"refs", "more", "lib.bib"}));
    EXPECT_TRUE(found.hasDocumentClass);
    EXPECT_FALSE(TexReferences::find(u"\\chapter{x}\\documentclassx").hasDocumentClass);
}

TEST(DocumentFiles, FollowsShiftJisChaptersOnceEachInReadingOrderPastCyclesAndMissingFiles)
{
    const DocumentFixture fixture;
    const QString main = fixture.write(
        "main.tex", u"\\documentclass{jbook}\n\\begin{document}\n\\include{chap1}\n%\\input{hidden}\n"
                    u"\\import{parts/}{part}\n\\input{chap2.tex}\n\\label{main:はじめに}\n\\end{document}\n"_s);
    fixture.write("chap1.tex", u"\\chapter{序論}\\label{chap:序論}\n\\input{missing}\\input{main}\\input{chap2}\n"_s,
                  "CP932");
    fixture.write("chap2.tex", u"\\section{猫}\\label{sec:猫}\\ref{chap:序論}\n"_s, "EUC-JP-MS");
    fixture.write("parts/part.tex", u"\\label{part:一}\\input{inner}\n"_s, "ISO-2022-JP");
    fixture.write("parts/inner.tex", u"\\label{inner:二}\n"_s, "UTF-16LE");
    fixture.write("hidden.tex", u"\\label{hidden}\n"_s);

    DocumentCollector collector(fixture.reader());
    const DocumentSnapshot snapshot = collector.collect(main);
    EXPECT_EQ(snapshot.mainPath, main);
    EXPECT_EQ(pathsOf(snapshot),
              QStringList({main, fixture.canonical("chap1.tex"), fixture.canonical("chap2.tex"),
                           fixture.canonical("parts/part.tex"), fixture.canonical("parts/inner.tex")}));
    // The labels of the file being edited come from the editor, not from here.
    EXPECT_EQ(snapshot.labels.labels(), QStringList({u"chap:序論"_s, u"inner:二"_s, u"part:一"_s, u"sec:猫"_s}));
}

TEST(DocumentFiles, StaysWithinTheLimitsOnFilesAndBytes)
{
    const DocumentFixture fixture;
    const QString main = fixture.write("main.tex", "\\documentclass{book}\\input{a}\\input{big}\\input{b}\\input{c}");
    fixture.write("a.tex", "\\label{a}");
    fixture.write("big.tex", "\\label{big}" + QString(400, u'x'));
    fixture.write("b.tex", "\\label{b}");
    fixture.write("c.tex", "\\label{c}");

    DocumentCollector collector(fixture.reader(), FileFollower::Limits{4, 200});
    // The big file would go past the bytes allowed and is passed over; the fourth
    // file is the last one read.
    EXPECT_EQ(collector.collect(main).labels.labels(), QStringList({"a", "b", "c"}));
    DocumentCollector fewer(fixture.reader(), FileFollower::Limits{3, 200});
    EXPECT_EQ(fewer.collect(main).labels.labels(), QStringList({"a", "b"}));
}

TEST(DocumentFiles, AChapterFindsItsMainFile)
{
    const DocumentFixture fixture;
    const QString main = fixture.write(
        "book.tex", u"\\documentclass{jbook}\\label{book}\\include{chapters/one}\\include{chapters/two}"_s);
    const QString one = fixture.write("chapters/one.tex", u"\\label{one}\\input{chapters/one-a}"_s, "CP932");
    const QString part = fixture.write("chapters/one-a.tex", u"\\label{one-a}"_s);
    const QString named = fixture.write("chapters/two.tex", u"% !TeX root = ../other.tex\n\\label{two}"_s);
    const QString other = fixture.write("other.tex", u"\\documentclass{jarticle}\\input{chapters/two}"_s);
    const QString run = fixture.write("chapters/run.tex", u"%#!platex -kanji=sjis ../book && dvipdfmx book\n"_s);
    const QString alone = fixture.write("notes/alone.tex", u"\\label{alone}"_s);

    DocumentCollector collector(fixture.reader());
    // Read in by the main file one folder up.
    const DocumentSnapshot chapter = collector.collect(one);
    EXPECT_EQ(chapter.mainPath, main);
    EXPECT_EQ(chapter.labels.labels(), QStringList({"book", "one-a", "two"}));
    // Read in by a chapter that the main file reads in.
    EXPECT_EQ(collector.collect(part).mainPath, main);
    // Magic comments name the main file whoever reads the chapter in.
    EXPECT_EQ(collector.collect(named).mainPath, other);
    EXPECT_EQ(collector.collect(run).mainPath, main);
    // Nobody reads it in: it is its own main file.
    const DocumentSnapshot lone = collector.collect(alone);
    EXPECT_EQ(lone.mainPath, alone);
    EXPECT_TRUE(lone.labels.labels().isEmpty());

    EXPECT_EQ(MainFileFinder::rootComment(u"%!TEX root=main.tex\n"), u"main.tex");
    EXPECT_EQ(MainFileFinder::rootComment(u"%#!make\n% !TEX root = \"my main.tex\" \n"), u"my main.tex");
    EXPECT_EQ(MainFileFinder::rootComment(u"text\n% !TEX program = platex\n"), QString());
}

TEST(DocumentFiles, ChangedFilesAreReadAgainAndOnlyThey)
{
    const DocumentFixture fixture;
    const QString main = fixture.write("main.tex", "\\documentclass{book}\\input{a}\\input{b}");
    fixture.write("a.tex", "\\label{a}");
    fixture.write("b.tex", "\\label{b}");
    QStringList read;
    DocumentCollector collector = collectorNotingReads(fixture, read);
    const DocumentSnapshot first = collector.collect(main);
    EXPECT_EQ(read, QStringList({"main.tex", "a.tex", "b.tex"}));
    read.clear();
    EXPECT_TRUE(collector.collect(main).sameAs(first));
    EXPECT_TRUE(read.isEmpty());

    fixture.write("b.tex", "\\label{b}\\label{b2}\\input{c}");
    fixture.write("c.tex", "\\label{c}");
    const DocumentSnapshot second = collector.collect(main);
    EXPECT_EQ(read, QStringList({"b.tex", "c.tex"}));
    EXPECT_FALSE(second.sameAs(first));
    EXPECT_EQ(second.labels.labels(), QStringList({"a", "b", "b2", "c"}));
}

TEST(DocumentFiles, CitationKeysComeFromTheNamedDatabasesWithTheirNotes)
{
    const DocumentFixture fixture;
    const QString main = fixture.write(
        "main.tex", "\\documentclass{jarticle}\\input{chap}\\bibliography{refs,missing}\\addbibresource{more.bib}");
    fixture.write("chap.tex", "\\bibliography{refs}");
    fixture.write("refs.bib",
                  u"@book{yamada2020, author={山田 太郎 and 鈴木 花子}, title={猫の研究}}\n"
                  u"@article{Abe, title = \"Dogs\"}\n"_s,
                  "CP932");
    fixture.write("more.bib", u"@misc{zeta, author = {Zeta}}\n@misc{Abe, title={Twice}}\n"_s);

    DocumentCollector collector(fixture.reader());
    const DocumentSnapshot snapshot = collector.collect(main);
    EXPECT_EQ(snapshot.citations, QStringList({"Abe", "yamada2020", "zeta"}));
    EXPECT_EQ(snapshot.notes.value("yamada2020"), u"山田 太郎 ほか: 猫の研究"_s);
    // The first database that holds a key gives its note.
    EXPECT_EQ(snapshot.notes.value("Abe"), u"Dogs");
    EXPECT_EQ(snapshot.notes.value("zeta"), u"Zeta");
}

TEST(DocumentFiles, ADatabaseIsReadAgainOnlyWhenItChanged)
{
    const DocumentFixture fixture;
    const QString main = fixture.write("main.tex", "\\documentclass{article}\\bibliography{refs}");
    fixture.write("refs.bib", "@misc{one, title={One}}\n");
    QStringList read;
    DocumentCollector collector = collectorNotingReads(fixture, read);
    const DocumentSnapshot first = collector.collect(main);
    EXPECT_EQ(first.citations, QStringList({"one"}));
    read.clear();
    const DocumentSnapshot again = collector.collect(main);
    EXPECT_TRUE(read.isEmpty());
    // What the list shows is handed on as it was, not made anew.
    EXPECT_TRUE(again.notes.isSharedWith(first.notes));

    fixture.write("refs.bib", "@misc{one, title={One}}\n@misc{two, title={Two}}\n");
    const DocumentSnapshot changed = collector.collect(main);
    EXPECT_EQ(read, QStringList({"refs.bib"}));
    EXPECT_EQ(changed.citations, QStringList({"one", "two"}));
    EXPECT_EQ(changed.notes.value("two"), u"Two");
}

TEST(DocumentFiles, InstalledDatabasesAreFoundThroughKpsewhich)
{
    if (QStandardPaths::findExecutable(QStringLiteral("kpsewhich")).isEmpty())
        GTEST_SKIP() << "kpsewhich is not installed";
    QProcess probe;
    probe.start(QStringLiteral("kpsewhich"), {QStringLiteral("xampl.bib")});
    if (!probe.waitForFinished() || probe.readAllStandardOutput().trimmed().isEmpty())
        GTEST_SKIP() << "TeX Live's xampl.bib is not installed";

    const DocumentFixture fixture;
    const QString main = fixture.write("main.tex", "\\documentclass{article}\\bibliography{xampl}");
    const DocumentSnapshot snapshot = DocumentCollector(fixture.reader()).collect(main);
    EXPECT_TRUE(snapshot.citations.contains("article-full"));
    EXPECT_TRUE(snapshot.citations.contains("whole-set"));
}

TEST(DocumentFiles, ListsFileNamesTwoLevelsDown)
{
    const DocumentFixture fixture;
    fixture.write("main.tex", "");
    fixture.write("fig/cat.EPS", "");
    fixture.write("fig/photos/dog.jpg", "");
    fixture.write("fig/photos/deep/too-deep.png", "");
    fixture.write(".git/hidden.tex", "");
    fixture.write("chapters/one.tex", "");
    fixture.write("refs.bib", "");
    fixture.write("notes.txt", "");

    const FileNameLister::Names names = FileNameLister::list(fixture.folder());
    EXPECT_EQ(names.sources, QStringList({"chapters/one.tex", "main.tex"}));
    EXPECT_EQ(names.graphics, QStringList({"fig/cat.EPS", "fig/photos/dog.jpg"}));
    EXPECT_EQ(names.databases, QStringList({"refs.bib"}));
}

} // namespace
