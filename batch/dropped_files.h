// Which of the paths dropped on the main window become the selection.
#pragma once

#include <string>
#include <vector>

namespace imgcrypt {

// The files among `paths`, in the order dropped; folders and paths that are
// not there are left out. Empty, so the drop is refused, when no file remains
// or when the files lie in more than one folder: the runs write beside the
// first file's folder, so a selection is always one folder's.
std::vector<std::string> DroppedSelection(const std::vector<std::string>& paths);

}  // namespace imgcrypt
