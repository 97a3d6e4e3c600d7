// The .url reader: an INI lookup on the 8-bit text of a shortcut file.
#include "FuzzCheck.h"

#include "platform/RealFiles.h"
#include "platform/Text.h"

namespace {

bool isAscii(const QString &s)
{
    for (QChar c : s)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

QString swapCase(const QString &s)
{
    QString out = s;
    for (QChar &c : out)
        c = c.isUpper() ? c.toLower() : c.toUpper();
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    // Mostly the names the program asks for, sometimes fuzzed ones.
    const bool usual = in.ConsumeBool();
    QString section = QStringLiteral("InternetShortcut");
    QString key = QStringLiteral("URL");
    if (!usual) {
        section = platform::fromAnsi(fuzz::takeBytes(in, 24));
        key = platform::fromAnsi(fuzz::takeBytes(in, 12));
    }
    const QString text = platform::fromAnsi(fuzz::restBytes(in));

    const std::optional<QString> value = platform::profileLookup(text, section, key);
    if (value) {
        // The value is text of the file, trimmed, at most one line.
        FUZZ_CHECK(text.contains(*value));
        FUZZ_CHECK(!value->contains(QLatin1Char('\n')) && !value->contains(QLatin1Char('\r')));
    }

    // Section and key ignore case.
    if (isAscii(section) && isAscii(key))
        FUZZ_CHECK(platform::profileLookup(text, swapCase(section), swapCase(key)) == value);

    // Line ends do not matter: CR LF, lone CR and lone LF read alike.
    QString lf = text;
    lf.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    FUZZ_CHECK(platform::profileLookup(lf, section, key) == value);
    QString cr = lf;
    cr.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    FUZZ_CHECK(platform::profileLookup(cr, section, key) == value);
    return 0;
}
