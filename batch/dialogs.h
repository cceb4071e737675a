// Every modal box and the open-file dialog of a main window. Each toolkit has
// one implementation that shows real boxes; tests answer them in advance
// (tests/support/scripted_dialogs.h). Texts are UTF-8, paths byte text.
#pragma once

#include <string>
#include <vector>

namespace imgcrypt {

// The settings of the open-file dialog that the logic keeps between calls.
struct OpenDialogRequest {
    std::string filter;           // "description|patterns|description|patterns"
    int filterIndex = 0;          // 0 or 4: both open on the first entry
    std::string initialFolder;    // empty for the first call after start-up
    std::string defaultFileName;  // first path of the last selection
};

class Dialogs {
  public:
    virtual ~Dialogs() = default;

    // Plain message: information icon, one OK button.
    virtual void Message(const std::string& caption, const std::string& text) = 0;
    // "Confirm" with "&Yes" and "&No", Yes the default, Esc answering No. A
    // lone carriage return in `text` breaks the line.
    virtual bool Confirm(const std::string& text) = 0;
    // The default error handler's box: error icon, one OK button.
    virtual void Error(const std::string& caption, const std::string& text) = 0;
    // The multi-select open-file dialog: the chosen full paths in the
    // dialog's order, empty when cancelled.
    virtual std::vector<std::string> OpenFiles(const OpenDialogRequest& request) = 0;
};

}  // namespace imgcrypt
