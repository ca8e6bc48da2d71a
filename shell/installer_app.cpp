// The one InstallerApp of the program.
#include "shell/installer_app.h"

InstallerApp installerApp;
