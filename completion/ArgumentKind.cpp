#include "ArgumentKind.h"

#include <QLatin1StringView>

#include <algorithm>
#include <initializer_list>

namespace {

bool isOneOf(QStringView word, std::initializer_list<const char *> names)
{
    return std::any_of(names.begin(), names.end(),
                       [word](const char *name) { return word == QLatin1StringView(name); });
}

} // namespace

ArgumentKind::Kind ArgumentKind::of(const DocumentScan::Context &context)
{
    if (context.paramIndex != 1)
        return Other;
    // The starred forms take the same arguments.
    QStringView word = context.word;
    if (word.endsWith(u'*'))
        word.chop(1);
    if (isOneOf(word, {"begin", "end"}))
        return Environment;
    if (isOneOf(word, {"label", "ref", "eqref", "pageref", "autoref", "cref", "Cref", "nameref"}))
        return Label;
    if (isOneOf(word, {"cite", "citep", "citet", "nocite", "parencite", "textcite", "autocite"}))
        return Citation;
    if (isOneOf(word, {"input", "include"}))
        return SourceName;
    if (word == u"includegraphics")
        return GraphicsName;
    if (word == u"bibliography")
        return DatabaseName;
    if (word == u"addbibresource")
        return DatabaseFile;
    return Other;
}
