#pragma once
// The seven row pictures of the file list, drawn at start: pages marked W (HTML), T (text)
// and S (script), each also with a red tick (checked), and a folder; each also with a
// warning sign, for a row whose result the last run did not write because the check found
// it differing from its page.

#include <QIcon>

namespace trimlet {

// The picture of image index `image` (ImageHtml ... ImageScriptChecked); a null icon for
// ImageNone and indexes outside the seven.
QIcon RowImage(int image, bool warned = false);

}  // namespace trimlet
