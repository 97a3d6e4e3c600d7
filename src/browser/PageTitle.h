#pragma once
#include <QString>

namespace address {

// The caption and Tag for the address of the page shown: "about:blank" and an empty
// address give themselves trimmed; any other loses everything up to and including the
// first "file:///" and has every "/" turned into "\".
QString pageTitle(const QString &locationUrl);

} // namespace address
