#include "WinTestSupport.h"
#include "platform/Win32Processes.h"

using namespace platform::win32;
using namespace wintest;

namespace {

// What a started copy reported as the text after its name; nullopt when it never did.
std::optional<std::wstring> reported(const std::wstring &file)
{
    std::optional<std::string> bytes;
    if (!waitFor([&] { return (bytes = readBytes(file)).has_value(); }))
        return std::nullopt;
    return std::wstring(reinterpret_cast<const wchar_t *>(bytes->data()), bytes->size() / sizeof(wchar_t));
}

} // namespace

TEST(CommandLine, TextAfterTheProgramNameKeepsQuotesAndBlanks)
{
    EXPECT_EQ(textAfterProgramName(L"\"C:\\Le mie cose\\lanterna.exe\" \"C:\\a b.htm\"  x "), L"\"C:\\a b.htm\"  x ");
    EXPECT_EQ(textAfterProgramName(L"lanterna.exe   C:\\A.HTM"), L"  C:\\A.HTM");
    EXPECT_EQ(textAfterProgramName(L"lanterna.exe\thttp://x/"), L"http://x/");
    EXPECT_EQ(textAfterProgramName(L"\"lanterna.exe\"x"), L"x");
    EXPECT_EQ(textAfterProgramName(L"\"C:\\lanterna.exe\""), L"");
    EXPECT_EQ(textAfterProgramName(L"\"C:\\lanterna.exe\" "), L"");
    EXPECT_EQ(textAfterProgramName(L"lanterna"), L"");
    EXPECT_EQ(textAfterProgramName(L"\"C:\\never closed"), L"");
    EXPECT_EQ(textAfterProgramName(nullptr), L"");
    EXPECT_EQ(commandLineFor(L"C:\\a b\\lanterna.exe", {}), L"\"C:\\a b\\lanterna.exe\"");
    EXPECT_EQ(commandLineFor(L"C:\\x.exe", {L" a ", L"b"}), L"\"C:\\x.exe\"  a  b");
}

TEST(CommandLine, TheRawCommandLineReachesTheProgramAsTheTextAfterItsName)
{
    TempFolder tmp;
    const std::wstring program = copyProbeAs(tmp / L"Cartella con spazi", L"lanterna.exe");
    const std::wstring out = tmp / L"raw.txt";
    ASSERT_TRUE(SetEnvironmentVariableW(L"LANTERNA_PROBE_OUT", out.c_str()));
    const std::wstring rest = L" \"C:\\HOME PAG\\A B.HTM\"  citt\u00E0 \u20AC ";
    Started copy(program, L"\"" + program + L"\" " + rest);
    SetEnvironmentVariableW(L"LANTERNA_PROBE_OUT", nullptr);
    ASSERT_TRUE(copy.ok());
    EXPECT_EQ(reported(out), std::optional<std::wstring>(rest));
}

TEST(CommandLine, ACopyStartedWithAnAddressReceivesExactlyThatText)
{
    TempFolder tmp;
    // Named as the program names itself: folder and name, no extension, blanks in the folder.
    const std::wstring folder = tmp / L"Cartella con spazi";
    copyProbeAs(folder, L"lanterna.exe");
    const std::vector<std::wstring> addresses = {
        L"C:\\HOME-PAG\\INIZIO.HTM",
        L"\"C:\\Le mie pagine\\a b.htm\"",
        L"  due  blanks  ",
        L"http://host/a?b=1&c=2|x<y>%PATH%^\"",
        L"citt\u00E0 \u20AC",
        L"",
    };
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        const std::wstring out = tmp / (L"out" + std::to_wstring(i) + L".txt");
        ASSERT_TRUE(SetEnvironmentVariableW(L"LANTERNA_PROBE_OUT", out.c_str()));
        // An empty address is started without arguments, as the program does.
        const std::vector<std::wstring> args = addresses[i].empty() ? std::vector<std::wstring>{}
                                                                    : std::vector<std::wstring>{addresses[i]};
        const auto failure = startProgram(folder + L"\\lanterna", args);
        SetEnvironmentVariableW(L"LANTERNA_PROBE_OUT", nullptr);
        ASSERT_FALSE(failure.has_value()) << failure->number;
        EXPECT_EQ(reported(out), std::optional<std::wstring>(addresses[i])) << i;
    }
}

TEST(CommandLine, AProgramThatCannotStartIsReportedWithTheSystemsNumberAndText)
{
    TempFolder tmp;
    const auto missing = startProgram(tmp / L"lanterna", {L"x"});
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->number, ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(missing->description.empty());
    EXPECT_NE(missing->description.back(), L'\n');

    CreateDirectoryW((tmp / L"cartella").c_str(), nullptr);
    const auto folder = startProgram(tmp / L"cartella", {});
    ASSERT_TRUE(folder.has_value());
    EXPECT_NE(folder->number, 0);

    ASSERT_TRUE(writeBytes(tmp / L"finto.exe", "MZ non un programma"));
    EXPECT_TRUE(startProgram(tmp / L"finto", {}).has_value());
}
