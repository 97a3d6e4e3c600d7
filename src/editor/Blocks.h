#pragma once
#include <QString>

// The HTML lines the caption and link windows insert into a page, built from the
// windows' field values. No widget in here: the windows only collect the fields.

enum class Alignment { None, Left, Center, Right };

struct CaptionFields {
    QString text;              // Text1, used exactly as typed
    QString size;              // Combo1's text; its first two characters name the heading tag
    bool scrolling = false;    // "Scorrevole" rather than "Normale"
    Alignment alignment = Alignment::Left;
    QString textColour;        // Text2(0)
    QString backColour;        // Text2(1), only for the scrolling strip
    bool bold = false;
    bool italic = false;
};

struct LinkFields {
    QString text;              // Text1, used exactly as typed
    QString page;              // txtPAG_COLLEGATA
    QString size;              // Combo1's text
    Alignment alignment = Alignment::Left;
    QString textColour;        // Text2(0)
    bool bold = false;
    bool italic = false;
};

// Leading and trailing blanks removed (blanks only, other characters are kept).
QString TrimBlanks(const QString &s);

// The message that refuses the fields, or an empty string when they can be used.
QString CheckCaption(const CaptionFields &f);
QString CheckLink(const LinkFields &f);

// One line of HTML, no line end.
QString CaptionBlock(const CaptionFields &f);
QString LinkBlock(const LinkFields &f);
