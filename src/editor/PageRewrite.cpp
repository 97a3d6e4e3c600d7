#include "editor/PageRewrite.h"

bool InsertBlock(const QString &, Form *) { return false; }
bool ReplaceBackground(const QString &, Form *) { return false; }
