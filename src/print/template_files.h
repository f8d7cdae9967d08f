#pragma once

#include <QString>

// Template files are named by windows in whatever letter case their authors used
// ("frBYdetailTj.frf" and "frBYdetailTJ.frf" are one file), so names resolve without regard to case.
namespace TemplateFiles {
// The existing file in `folder` named `name` in any letter case; empty when there is none.
QString resolve(const QString& folder, const QString& name);
// The same for a full path (slashes of either kind); the path itself when nothing matches.
QString resolvePath(const QString& path);
} // namespace TemplateFiles
