// SPDX-License-Identifier: MIT
// Puts an application directory into the desktop's menu (zelmo-vm --install-app DIR) and takes
// it out again (--uninstall-app DIR): a desktop entry zelmo-<id>.desktop in
// $XDG_DATA_HOME/applications, and the application's icon, when it has one, as
// $XDG_DATA_HOME/icons/zelmo-<id>.<png|svg|xpm> (<id>: ApplicationDataFolder.h). Uninstalling
// removes exactly those files.
//
// Name, Comment and Icon come from the handheld's own launcher file when the directory holds
// one (the first *.desktop in it); otherwise the name is the directory's name and the icon
// icon.png, icon.svg or icon.xpm in the directory.
#pragma once

#include <QString>

namespace zelmo {

// `runtime` is the absolute path of zelmo-vm, which the entry starts. Whether it worked;
// `report` says what was written or what went wrong.
bool installApplication(const QString& directory, const QString& runtime, QString& report);
bool uninstallApplication(const QString& directory, QString& report);

} // namespace zelmo
