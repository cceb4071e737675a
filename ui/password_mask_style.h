// Shows every character of a password box as "#", whatever mask the
// platform style would use.
#pragma once

#include <QProxyStyle>

namespace imgcrypt {

class PasswordMaskStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr,
                  const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

}  // namespace imgcrypt
