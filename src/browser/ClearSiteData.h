#pragma once

class QWidget;

// "Cancella cookie e dati dei siti" (Ctrl+Shift+Canc) on a browser window: after a
// Sì/No question, the user's cookies, cache and site storage go.
void addClearSiteDataAction(QWidget *window);
