#include "ui/password_mask_style.h"

namespace imgcrypt {

int PasswordMaskStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                                 QStyleHintReturn* returnData) const {
    if (hint == SH_LineEdit_PasswordCharacter) return '#';
    // The mask shows at once, not after a delay that reveals the last character.
    if (hint == SH_LineEdit_PasswordMaskDelay) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

}  // namespace imgcrypt
