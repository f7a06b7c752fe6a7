#include "SourceFacts.h"

#include "DocumentScan.h"
#include "MainFileFinder.h"

#include <utility>

SourceFacts SourceFacts::of(QString text)
{
    SourceFacts facts;
    facts.rootComment = MainFileFinder::rootComment(text);
    DocumentScan::StripComments(text);
    facts.references = TexReferences::find(text);
    facts.labels = DocumentScan::ScanLabels(text, 0);
    return facts;
}
