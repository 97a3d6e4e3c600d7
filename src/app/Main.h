#pragma once
#include <QString>
#include <optional>

// The start of the program: turns the command-line argument (or the home page
// folder) into the first address and brings up the browser window.
void Main(const QString &argumentText);

// The argument split into path form.
struct ArgumentSplit {
    QString commandLinePath; // every "/" turned into "\"
    QString homePageDir;     // up to and including the last "\" (may be empty)
    QString homePageFile;    // after the last "\" (may be empty)
    QString startUrl;        // homePageDir + homePageFile, or + "INIZIO.HTM" when no file
};

// nullopt when the argument is only blanks (no argument). Quotes and surrounding
// blanks are kept: only the emptiness tests trim.
std::optional<ArgumentSplit> SplitArgument(const QString &argumentText);

// Without an argument: the first readable home page among C:\HOME-PAG\INIZIO.HTM and
// D:\HOME-PAG\INIZIO.HTM, else "about:blank" with the folder left at D:\HOME-PAG\.
struct HomePageChoice {
    QString homePageDir;
    QString startUrl;
};
HomePageChoice ChooseHomePage();
