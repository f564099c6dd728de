#pragma once
// The font of the hex grids: one whose characters all take one width, so that the bytes and
// the text column line up.
#include <QFont>

namespace qx {

// A fixed-pitch font of the size of `like`: the system's fixed font when Qt reports it fixed
// pitch, else the first installed face of a short list of such faces that Qt reports so,
// else the system's fixed font as it is. Some faces whose glyphs all share one width are
// not reported fixed pitch (a CJK face's Latin half, a face with zero-width marks), and the
// grids measure their columns with the widest character anyway.
QFont HexGridFont(const QFont& like);

}  // namespace qx
