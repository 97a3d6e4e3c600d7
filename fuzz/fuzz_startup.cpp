// The start-up argument split and the page title rule: the two texts the program
// turns into paths on its own.
#include "FuzzCheck.h"

#include "app/Main.h"
#include "browser/AddressRules.h"
#include "browser/PageTitle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const QString text = in.ConsumeBool() ? QString::fromUtf8(fuzz::restBytes(in))
                                          : QString::fromLatin1(fuzz::restBytes(in));

    const std::optional<ArgumentSplit> a = SplitArgument(text);
    FUZZ_CHECK(a.has_value() == !address::trimBlanks(text).isEmpty());
    if (a) {
        FUZZ_CHECK(a->commandLinePath.size() == text.size());
        FUZZ_CHECK(!a->commandLinePath.contains(QLatin1Char('/')));
        FUZZ_CHECK(a->homePageDir + a->homePageFile == a->commandLinePath);
        FUZZ_CHECK(a->homePageDir.isEmpty() || a->homePageDir.endsWith(QLatin1Char('\\')));
        FUZZ_CHECK(!a->homePageFile.contains(QLatin1Char('\\')));
        FUZZ_CHECK(a->startUrl.startsWith(a->homePageDir));
        const QString file = a->startUrl.mid(a->homePageDir.size());
        FUZZ_CHECK(file == a->homePageFile || file == QLatin1String("INIZIO.HTM"));
        // The argument comes back in path form, character for character.
        QString path = text;
        path.replace(QLatin1Char('/'), QLatin1Char('\\'));
        FUZZ_CHECK(a->commandLinePath == path);
    }

    const QString title = address::pageTitle(text);
    FUZZ_CHECK(title.size() <= text.size());
    const QString t = address::trimBlanks(text);
    if (t.isEmpty() || t == QLatin1String("about:blank")) {
        FUZZ_CHECK(title == t);
    } else {
        FUZZ_CHECK(!title.contains(QLatin1Char('/')));
        FUZZ_CHECK(text.contains(QLatin1String("file:///")) || title.size() == text.size());
        QString slashed = title;
        slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
        QString forward = text;
        forward.replace(QLatin1Char('\\'), QLatin1Char('/'));
        FUZZ_CHECK(forward.endsWith(slashed));
    }
    return 0;
}
