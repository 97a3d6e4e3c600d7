#pragma once
#include <QString>

namespace platform {

// A file name for a page printed to PDF: its title with the characters a file name
// cannot hold replaced, at most 100 characters, "pagina" when nothing is left; ".pdf" added.
QString pdfFileName(const QString &title);
// That name in `folder`, numbered " (2)", " (3)", ... past the files already there.
QString freePdfPath(const QString &folder, const QString &title);

} // namespace platform
