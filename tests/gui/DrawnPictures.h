#pragma once

#include <QString>

// Pictures a user might import, drawn by code and saved as PNG at `path`; the path, or empty
// when it could not be written.
namespace DrawnPictures {

// A kit the sample does not have: a hooped jersey, shorts and socks, the rest transparent.
QString Kit(const QString& path);
// A crest: a shield with a band across it, the rest transparent.
QString Crest(const QString& path);

} // namespace DrawnPictures
