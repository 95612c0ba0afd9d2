// The picture a render server answers with: read from its bitmap file and placed into the 3D view.
#pragma once

#include <QImage>
#include <QString>

class QIODevice;

namespace morv {

// Reads the server's Windows bitmap. Pixels the bitmap leaves unset show its first colour, or
// opaque black in a bitmap without a colour table; an indexed picture gets a colour for every
// index its pixels can hold, black where the bitmap names none. Throws FileError "Cannot open
// file <path>: <reason>" when the file cannot be read (as ReadFileBytes says) or holds no bitmap
// that reads.
QImage ReadServerPicture(const QString& path);
// The same from an open device; `name` is the file named in the error.
QImage ReadServerPicture(QIODevice& device, const QString& name);

// Draws `picture` into `view` from the top-left corner. Whatever of the view the picture does not
// cover turns white: a smaller picture must not leave parts of the old one showing.
void PlaceServerPicture(const QImage& picture, QImage& view);

}  // namespace morv
