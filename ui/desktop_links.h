// Hands folders, local pages and web addresses to the desktop (file manager,
// browser). One opener per window, replaceable so tests record instead of
// launching programs.
#pragma once

#include <QUrl>
#include <functional>
#include <string>

namespace imgcrypt {

// A local path (byte text in the file-system encoding) as a file: URL; an
// empty path gives an empty URL.
QUrl UrlForLocalPath(const std::string& path);
// A web address as the logic builds it.
QUrl UrlForAddress(const std::string& address);

class DesktopLinks {
  public:
    using Opener = std::function<void(const QUrl&)>;

    DesktopLinks();  // opens through QDesktopServices
    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    // The result is ignored: a desktop without a handler shows nothing.
    void Open(const QUrl& url) const;

  private:
    Opener opener_;
};

}  // namespace imgcrypt
