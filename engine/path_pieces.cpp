// The shared path pieces.
#include "engine/path_pieces.h"

PathPieces pathPieces;

void SplitIntoPathPieces(const char* path) {
  rtl::split_path(path, pathPieces.drive, pathPieces.dir, pathPieces.fname, pathPieces.ext);
}
