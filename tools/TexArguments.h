#pragma once

#include "ProgramInvocation.h"
#include "TextEncoding.h"

#include <QString>
#include <QStringList>

#include <optional>

// What a run adds to a TeX step's own arguments, worked out from the program and
// the document alone. Whatever the user wrote wins: an option that is already
// there is never added a second time or overridden.

// platex, uplatex, ptex, pbibtex and their kin: the programs that read Japanese in
// the encoding that -kanji names.
bool IsPtexFamily(const QString &program);
// The programs that typeset a document and so can stop at an error prompt.
bool IsTexEngine(const QString &program);

// The -kanji value that reads a document saved in the encoding; none for UTF-16,
// which no TeX program reads.
std::optional<QString> KanjiValueFor(TextEncoding encoding);
// The value of the -kanji option among the arguments ("-kanji=euc", "--kanji euc");
// none when there is no such option.
std::optional<QString> RequestedKanjiValue(const QStringList &arguments);

// The invocation with the document's encoding for a pTeX-family program and, when
// the step typesets the document with a TeX engine, the options that keep a run
// from stopping at a prompt, give errors as file:line, and write SyncTeX data. The
// added options come first, the -kanji option at the very front.
ProgramInvocation WithTexArguments(const ProgramInvocation &invocation, TextEncoding documentEncoding,
                                   bool typesetsDocument);
