#pragma once
#include <QString>

class Form;

// Rewrites the local page on display (the browser window's Tag): working copy "~",
// backup "_", then the page replaced, the browser refreshed and `caller` closed.
// On failure: a beep and one of the three messages; the caller stays open.
// Returns true on success.
bool InsertBlock(const QString &block, Form *caller);
bool ReplaceBackground(const QString &imagePath, Form *caller);
