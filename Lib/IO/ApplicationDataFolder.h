// SPDX-License-Identifier: MIT
// Where an application keeps what it writes when its own directory is read-only (installed
// below a system prefix): $XDG_DATA_HOME/zelmo/<id>/, with XDG_DATA_HOME defaulting to
// ~/.local/share. The id names the directory for good: its base name (letters, digits, '-' and
// '_' kept, anything else '_', at most 40 characters), a '-' and the first 16 hex digits of the
// SHA-256 of its absolute, cleaned path, so two copies of one application never share data.
#pragma once

#include <QString>

namespace zelmo {

// The id of the application directory `directory`.
QString applicationId(const QString& directory);
// $XDG_DATA_HOME when it is an absolute path, else ~/.local/share.
QString userDataHome();
// userDataHome()/zelmo/<id of directory>.
QString applicationDataFolder(const QString& directory);
// Whether the application may not write its directory: the user lacks write access, or the
// directory carries no write permission bit at all (the same answer for root, who would have
// access anyway).
bool isReadOnlyDirectory(const QString& directory);

} // namespace zelmo
