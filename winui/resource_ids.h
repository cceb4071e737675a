// Resource identifiers shared by the resource script (data/imgcrypt-gui.rc)
// and the code; plain #defines, which the resource compiler reads too.
#pragma once

#define IMGCRYPT_ICON_ID 1
