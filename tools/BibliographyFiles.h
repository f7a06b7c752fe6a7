#pragma once

#include <QByteArray>
#include <QStringList>

// The .bib files a TeX source names in its \bibliography commands, in order and
// with ".bib" added where the name has no extension. Comments are skipped. The
// source is taken byte by byte, so it may be in any encoding that keeps ASCII
// as it is (Shift_JIS, EUC-JP, ISO-2022-JP, UTF-8).
QStringList BibliographyFiles(const QByteArray &source);
