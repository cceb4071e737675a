// Which of the paths dropped on the main window, or named on its command
// line, become the selection.
#pragma once

#include <string>
#include <vector>

namespace imgcrypt {

// The files among `paths`, in the order dropped; folders and paths that are
// not there are left out. Empty, so the drop is refused, when no file remains
// or when the files lie in more than one folder: the runs write beside the
// first file's folder, so a selection is always one folder's. Relative paths
// (a command line's) are taken from the current folder and come back
// absolute, as the open dialog's do: the folder box must name a real folder
// whatever the current folder is later.
std::vector<std::string> DroppedSelection(const std::vector<std::string>& paths);

}  // namespace imgcrypt
